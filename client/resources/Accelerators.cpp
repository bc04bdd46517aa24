#include "client/resources/Accelerators.h"

#include "client/resources/ResourceIds.h"

const std::vector<AcceleratorData>* LoadAcceleratorTable(unsigned id)
{
    static const std::vector<AcceleratorData> mainFrame = {
        {"Ctrl+C", ID_EDIT_COPY},  {"Ctrl+Ins", ID_EDIT_COPY},
        {"Ctrl+V", ID_EDIT_PASTE}, {"Shift+Ins", ID_EDIT_PASTE},
        {"Ctrl+X", ID_EDIT_CUT},   {"Shift+Del", ID_EDIT_CUT},
        {"Ctrl+Z", ID_EDIT_UNDO},  {"Alt+Backspace", ID_EDIT_UNDO},
        {"F6", ID_NEXT_PANE},      {"Shift+F6", ID_PREV_PANE},
        {"F1", ID_HELP},           {"Shift+F1", ID_CONTEXT_HELP},
    };
    return id == IDR_MAINFRAME ? &mainFrame : nullptr;
}
