// The design data of one run: the entity interface and the texts that every
// generator reads. The analysis fills one Design; generators only read it.
#pragma once

#include <string>
#include <vector>

namespace velmorn {

struct Tgeneric {
    std::string name;      // upper case
    std::string type;      // raw text after the colon, default value included
    std::string constant;  // the token before the type text (":")
};

struct Tport {
    std::string name;      // upper case
    std::string type;      // raw text after the mode word; begins with a blank
    std::string bit;       // kept empty
    std::string constant;  // the mode word
};
using Tinport = Tport;
using Toutport = Tport;
using Tinoutport = Tport;

struct Design {
    std::string inname;       // base name of the source: names the output tree
    std::string librarys;     // library and use clauses, rebuilt from tokens
    std::string entity_name;  // upper case
    std::string obsah2;       // architecture body, closing END clause blanked
    std::string modules = "modules";

    std::vector<Tgeneric> GenericList;
    std::vector<Tinport> InportList;
    std::vector<Toutport> OutportList;
    std::vector<Tinoutport> InoutportList;

    void add_generic(std::string name, std::string type, std::string constant)
    {
        GenericList.push_back({std::move(name), std::move(type), std::move(constant)});
    }
    void add_inport(std::string name, std::string type, std::string bit, std::string constant)
    {
        InportList.push_back({std::move(name), std::move(type), std::move(bit), std::move(constant)});
    }
    void add_outport(std::string name, std::string type, std::string bit, std::string constant)
    {
        OutportList.push_back({std::move(name), std::move(type), std::move(bit), std::move(constant)});
    }
    void add_inoutport(std::string name, std::string type, std::string bit, std::string constant)
    {
        InoutportList.push_back({std::move(name), std::move(type), std::move(bit), std::move(constant)});
    }
};

}  // namespace velmorn
