// What the command line's options change in the generated files.
#pragma once

namespace velmorn {

struct GenerationOptions {
    // --keep: every instance of the tops and of the checked units carries the
    // attributes that keep it through synthesis, and the tree gets a Yosys
    // script that keeps every generated module.
    bool keep = false;
    // --source-names: the top level keeps the source's spelling of the
    // entity, generic and port names and the source's architecture name.
    bool sourceNames = false;
};

}  // namespace velmorn
