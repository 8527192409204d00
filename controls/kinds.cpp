// The kinds of bound control: window class, style and extended style.
#include "controls/controls.h"

// Window class and styles of every control kind, indexed by ControlKind.
const ControlKindRow ControlKindTable[ControlKindCount] = {
    {"BUTTON",    0x50000F00, 0x000},  // PushButton
    {"BUTTON",    0x50000D02, 0x000},  // CheckBox
    {"BUTTON",    0x50000D04, 0x000},  // RadioButton
    {"EDIT",      0x50000180, 0x000},  // TextEdit
    {"EDIT",      0x50000100, 0x000},  // LongEdit
    {"EDIT",      0x50000100, 0x000},  // ShortEdit
    {"EDIT",      0x50000100, 0x000},  // PlainEdit
    {"LISTBOX",   0x50800000, 0x200},  // ListBox
    {"COMBOBOX",  0x50A00203, 0x000},  // DropList
    {"STATIC",    0x50000080, 0x000},  // Label
    {"SCROLLBAR", 0x50000003, 0x000},  // VertScrollBar
    {"SCROLLBAR", 0x50000002, 0x000},  // HorzScrollBar
    {"BUTTON",    0x50004C07, 0x000},  // GroupBox
};
