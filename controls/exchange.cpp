// Value exchange: showing bound variables in their controls and committing
// controls back into their variables.
#include "controls/controls.h"
#include "controls/numtext.h"

#include <cstdint>

#include "app/text.h"

namespace {

// Sets control's text to the decimal text of value.
void ShowNumber(HWND control, std::int32_t value) {
  char text[NumberTextMax + 1];
  FormatNumber(value, text);
  SetProgramText(control, text);
}

// The number steps of LongEdit and ShortEdit. A number is ASCII: any other
// character of the field counts as one that is neither a digit nor a blank.
void CommitNumber(const BoundControl* record) {
  wchar_t wide[NumberTextMax + 1] = {};
  char text[NumberTextMax + 1];
  int length = GetWindowTextW(record->control, wide, NumberTextMax + 1);
  for (int i = 0; i <= length; ++i) text[i] = wide[i] < 0x80 ? static_cast<char>(wide[i]) : '\x7F';
  NumberCommit result = CommitNumberText(text, record->param1, record->param2);
  // Stored before the rewrite: the rewrite commits again from inside.
  if (record->bound) {
    if (record->kind == LongEdit)
      *static_cast<std::int32_t*>(record->bound) = result.value;
    else
      *static_cast<std::uint16_t*>(record->bound) = static_cast<std::uint16_t>(result.value);
  }
  if (result.rewrite) ShowNumber(record->control, result.value);
}

// control's text as a program text in buffer, whole characters of at most
// limit bytes and a terminator; a character that does not fit ends the text.
void GetProgramText(HWND control, char* buffer, int limit) {
  int length = GetWindowTextLengthW(control);
  wchar_t* wide = static_cast<wchar_t*>(GlobalAlloc(GMEM_FIXED, (length + 1) * sizeof(wchar_t)));
  int used = 0;
  if (wide) {
    length = GetWindowTextW(control, wide, length + 1);
    for (int i = 0; i < length; ++i) {
      char bytes[2];
      int n = WideCharToMultiByte(ProgramCodePage, 0, wide + i, 1, bytes, 2, nullptr, nullptr);
      if (n <= 0 || used + n > limit) break;
      for (int k = 0; k < n; ++k) buffer[used++] = bytes[k];
    }
    GlobalFree(wide);
  }
  buffer[used] = '\0';
}

// A radio group's button ids from its first id on, and back: the arithmetic
// wraps around instead of overflowing.
std::int32_t IdOfIndex(std::int32_t firstId, std::int32_t index) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(firstId) +
                                   static_cast<std::uint32_t>(index));
}
std::int32_t IndexOfId(std::int32_t firstId, std::int32_t id) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(id) -
                                   static_cast<std::uint32_t>(firstId));
}

}  // namespace

// Puts the record's bound variable into its control.
void ShowBoundValue(HWND parent, const BoundControl* record) {
  if (!record || !record->bound) return;
  const void* bound = record->bound;
  switch (record->kind) {
    case CheckBox:
      // Any non-zero flag shows as checked.
      CheckDlgButton(parent, record->id,
                     *static_cast<const std::uint16_t*>(bound) ? BST_CHECKED : BST_UNCHECKED);
      break;
    case RadioButton:
      CheckRadioButton(parent, record->param1, record->param2,
                       IdOfIndex(record->param1, *static_cast<const std::int32_t*>(bound)));
      break;
    case TextEdit:
      SetProgramText(record->control, static_cast<const char*>(bound));
      break;
    case LongEdit:
      ShowNumber(record->control, *static_cast<const std::int32_t*>(bound));
      break;
    case ShortEdit:
      ShowNumber(record->control, *static_cast<const std::uint16_t*>(bound));
      break;
    default:
      break;
  }
}

// Shows every registered control of window, the controls inside them first.
void RefreshBoundControls(HWND window) {
  for (ControlGroup* group = ControlRegistry; group; group = group->next) {
    if (group->parent != window) continue;
    for (BoundControl* record = group->controls; record; record = record->next) {
      if (record->control) RefreshBoundControls(record->control);
      ShowBoundValue(window, record);
    }
  }
}

// Enables or disables every registered control of window, not window itself.
void EnableBoundControls(HWND window, int enable) {
  for (ControlGroup* group = ControlRegistry; group; group = group->next) {
    if (group->parent != window) continue;
    for (BoundControl* record = group->controls; record; record = record->next) {
      if (record->control) EnableBoundControls(record->control, enable);
      EnableWindow(record->control, enable);
    }
  }
}

// Takes control's state or text into its bound variable; called for every
// notification of the control, whatever its code.
void CommitBoundControl(HWND parent, HWND control) {
  const BoundControl* record = FindBoundControl(parent, control);
  if (!record) return;
  switch (record->kind) {
    case CheckBox: {
      // A click toggles; the indeterminate state counts as checked.
      UINT state =
          IsDlgButtonChecked(parent, record->id) == BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED;
      CheckDlgButton(parent, record->id, state);
      if (record->bound) *static_cast<std::uint16_t*>(record->bound) = state == BST_CHECKED ? 1 : 0;
      break;
    }
    case RadioButton:
      CheckRadioButton(parent, record->param1, record->param2, record->id);
      if (record->bound)
        *static_cast<std::int32_t*>(record->bound) = IndexOfId(record->param1, record->id);
      break;
    case TextEdit:
      // The buffer holds param2 bytes and a terminator; without a positive
      // limit its size is unknown, and nothing is stored.
      if (record->bound && record->param2 > 0) {
        int limit = record->param2 < 0x7FFFFFFF ? record->param2 : record->param2 - 1;
        GetProgramText(record->control, static_cast<char*>(record->bound), limit);
      }
      break;
    case LongEdit:
    case ShortEdit:
      CommitNumber(record);
      break;
    default:
      break;
  }
}

// CommitBoundControl for parent's newest registered control with id.
void CommitBoundControlById(HWND parent, int id) {
  CommitBoundControl(parent, FindControlById(parent, id));
}
