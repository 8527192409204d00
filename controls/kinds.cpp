// The kinds of bound control: window class, style and extended style.
#include "controls/controls.h"

namespace {
const DWORD Child = WS_CHILD | WS_VISIBLE;
}  // namespace

// Window class and styles of every control kind, indexed by ControlKind. The
// check box and the radio button are the non-automatic types: the toolkit
// sets their check state itself.
// clang-format off
constexpr ControlKindRow ControlKindTable[ControlKindCount] = {
    {"BUTTON",    Child | BS_CENTER | BS_VCENTER | BS_PUSHBUTTON,                   0},  // PushButton
    {"BUTTON",    Child | BS_LEFT | BS_VCENTER | BS_CHECKBOX,                       0},  // CheckBox
    {"BUTTON",    Child | BS_LEFT | BS_VCENTER | BS_RADIOBUTTON,                    0},  // RadioButton
    {"EDIT",      Child | ES_NOHIDESEL | ES_AUTOHSCROLL,                            0},  // TextEdit
    {"EDIT",      Child | ES_NOHIDESEL | ES_AUTOHSCROLL,                            0},  // LongEdit
    {"EDIT",      Child | ES_NOHIDESEL | ES_AUTOHSCROLL,                            0},  // ShortEdit
    {"EDIT",      Child | ES_NOHIDESEL,                                             0},  // PlainEdit
    {"LISTBOX",   Child | WS_BORDER,                                                WS_EX_CLIENTEDGE},  // ListBox
    {"COMBOBOX",  Child | WS_BORDER | WS_VSCROLL | CBS_HASSTRINGS | CBS_DROPDOWNLIST, 0},  // DropList
    {"STATIC",    Child | SS_NOPREFIX,                                              0},  // Label
    {"SCROLLBAR", Child | SBS_VERT | SBS_LEFTALIGN,                                 0},  // VertScrollBar
    {"SCROLLBAR", Child | SBS_HORZ | SBS_TOPALIGN,                                  0},  // HorzScrollBar
    {"BUTTON",    Child | BS_NOTIFY | BS_VCENTER | BS_GROUPBOX,                     0},  // GroupBox
};
// clang-format on

// The same styles as numbers: every row keeps exactly these values.
static_assert(ControlKindTable[PushButton].style == 0x50000F00, "PushButton");
static_assert(ControlKindTable[CheckBox].style == 0x50000D02, "CheckBox");
static_assert(ControlKindTable[RadioButton].style == 0x50000D04, "RadioButton");
static_assert(ControlKindTable[TextEdit].style == 0x50000180, "TextEdit");
// The number fields scroll their text, so that every value of their range
// can be typed in a narrow field and is shown whole as the caret moves.
static_assert(ControlKindTable[LongEdit].style == 0x50000180, "LongEdit");
static_assert(ControlKindTable[ShortEdit].style == 0x50000180, "ShortEdit");
static_assert(ControlKindTable[PlainEdit].style == 0x50000100, "PlainEdit");
static_assert(ControlKindTable[ListBox].style == 0x50800000 &&
                  ControlKindTable[ListBox].exStyle == 0x200,
              "ListBox");
static_assert(ControlKindTable[DropList].style == 0x50A00203, "DropList");
static_assert(ControlKindTable[Label].style == 0x50000080, "Label");
static_assert(ControlKindTable[VertScrollBar].style == 0x50000003, "VertScrollBar");
static_assert(ControlKindTable[HorzScrollBar].style == 0x50000002, "HorzScrollBar");
static_assert(ControlKindTable[GroupBox].style == 0x50004C07, "GroupBox");
