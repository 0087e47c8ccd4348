// What the command line's options change in the generated files.
#pragma once

namespace velmorn {

struct GenerationOptions {
    // --keep: every instance of the tops and of the checked units carries the
    // attributes that keep it through synthesis, and the tree gets a Yosys
    // script that keeps every generated module.
    bool keep = false;
};

}  // namespace velmorn
