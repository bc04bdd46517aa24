#pragma once
// The accelerator table 128 as data. Keys are written in the portable text
// form of key sequences ("Ctrl+Ins", "Shift+F6").
#include <vector>

struct AcceleratorData {
    const char* keys;
    unsigned command;
};

/// The entries of accelerator table id, or nullptr when there is none.
const std::vector<AcceleratorData>* LoadAcceleratorTable(unsigned id);
