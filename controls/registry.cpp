// Creation, registry and lookup of bound controls.
#include "controls/controls.h"

#include "app/text.h"

ControlGroup* ControlRegistry = nullptr;

namespace {

// The group of parent, or none.
ControlGroup* FindGroup(HWND parent) {
  for (ControlGroup* group = ControlRegistry; group; group = group->next)
    if (group->parent == parent) return group;
  return nullptr;
}

// The option letters of an edit kind (EditSunken, EditBorder) as styles.
void AddEditOptions(const char* options, DWORD* style, DWORD* exStyle) {
  if (!options) return;
  for (const char* c = options; *c; ++c) {
    if (*c == EditSunken[0]) *exStyle |= WS_EX_CLIENTEDGE;
    if (*c == EditBorder[0]) *style |= WS_BORDER;
  }
}

}  // namespace

// Creates a control of the given kind on parent, registers it with its bound
// variable and shows the variable in it.
HWND CreateBoundControl(HWND parent, int x, int y, int width, int height, int kind,
                        const char* text, int id, int param1, int param2, void* bound) {
  if (kind < 0 || kind >= ControlKindCount) return nullptr;

  DWORD style = 0;
  DWORD exStyle = 0;
  const char* caption = text;
  switch (kind) {
    case PushButton:
    case CheckBox:
    case Label:
      style = static_cast<DWORD>(param1);
      exStyle = static_cast<DWORD>(param2);
      break;
    case RadioButton:
      if (id == param1) style = WS_GROUP;
      break;
    case TextEdit:
    case LongEdit:
    case ShortEdit:
      AddEditOptions(text, &style, &exStyle);
      caption = "";
      break;
    default:
      break;
  }

  const ControlKindRow& row = ControlKindTable[kind];
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  HWND control =
      CreateWindowExW(row.exStyle | exStyle, ProgramText(row.className),
                      ProgramText(caption ? caption : ""), row.style | style, x, y, width, height,
                      parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);

  // Registered before the first show: the notifications that the show
  // raises come back to CommitBoundControl, which must find the record.
  BoundControl* record = RegisterBoundControl(parent, control, kind, id, param1, param2, bound);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetInterfaceFont(0)), FALSE);

  switch (kind) {
    case RadioButton:
      // The group is shown once its last button exists.
      if (id == param2) ShowBoundValue(parent, record);
      break;
    case TextEdit:
      if (param2 > 0) SendMessageW(control, EM_LIMITTEXT, static_cast<WPARAM>(param2), 0);
      ShowBoundValue(parent, record);
      break;
    default:
      ShowBoundValue(parent, record);
      break;
  }
  return control;
}

// Adds a record for control to parent's group, making the group if needed.
BoundControl* RegisterBoundControl(HWND parent, HWND control, int kind, int id, int param1,
                                   int param2, void* bound) {
  ControlGroup* group = FindGroup(parent);
  if (!group) {
    group = static_cast<ControlGroup*>(GlobalAlloc(GMEM_FIXED, sizeof(ControlGroup)));
    if (!group) return nullptr;
    group->parent = parent;
    group->controls = nullptr;
    group->next = ControlRegistry;
    ControlRegistry = group;
  }
  BoundControl* record = static_cast<BoundControl*>(GlobalAlloc(GMEM_FIXED, sizeof(BoundControl)));
  if (!record) return nullptr;
  record->control = control;
  record->kind = kind;
  record->id = id;
  record->param1 = param1;
  record->param2 = param2;
  record->bound = bound;
  record->next = group->controls;
  group->controls = record;
  return record;
}

// Handle of parent's newest registered control with id; all bits set if none.
HWND FindControlById(HWND parent, int id) {
  for (ControlGroup* group = ControlRegistry; group; group = group->next) {
    if (group->parent != parent) continue;
    for (BoundControl* record = group->controls; record; record = record->next)
      if (record->id == id) return record->control;
  }
  return reinterpret_cast<HWND>(static_cast<INT_PTR>(-1));
}

// parent's newest record of control, or none.
BoundControl* FindBoundControl(HWND parent, HWND control) {
  for (ControlGroup* group = ControlRegistry; group; group = group->next) {
    if (group->parent != parent) continue;
    for (BoundControl* record = group->controls; record; record = record->next)
      if (record->control == control) return record;
  }
  return nullptr;
}

// The id under which control is registered on parent, or -1.
int GetBoundControlId(HWND parent, HWND control) {
  BoundControl* record = FindBoundControl(parent, control);
  return record ? record->id : -1;
}

// Binds parent's control id to another variable; the control is not shown.
BoundControl* RebindControl(HWND parent, int id, void* bound) {
  BoundControl* record = FindBoundControl(parent, FindControlById(parent, id));
  if (record) record->bound = bound;
  return record;
}

// Destroys window's registered controls (and theirs), then the window itself.
void DestroyBoundControls(HWND window) {
  ControlGroup* group = FindGroup(window);
  if (!group) return;

  while (BoundControl* record = group->controls) {
    // Unlinked first, so that notifications raised while the control goes
    // away no longer find a record that is about to be freed.
    group->controls = record->next;
    if (record->control) {
      DestroyBoundControls(record->control);
      if (IsWindow(record->control)) DestroyWindow(record->control);
    }
    GlobalFree(record);
  }

  // Looked up only now: the loop above may have removed other groups.
  ControlGroup** link = &ControlRegistry;
  while (*link != group) link = &(*link)->next;
  *link = group->next;
  DestroyWindow(window);
  GlobalFree(group);
}
