// Bound controls: child controls created from a kind table, registered per
// parent window with the variable each one shows and edits.
#ifndef ASDEDIT_CONTROLS_CONTROLS_H
#define ASDEDIT_CONTROLS_CONTROLS_H

#include <windows.h>

enum ControlKind {
  PushButton = 0,
  CheckBox = 1,
  RadioButton = 2,
  TextEdit = 3,
  LongEdit = 4,
  ShortEdit = 5,
  PlainEdit = 6,
  ListBox = 7,
  DropList = 8,
  Label = 9,
  VertScrollBar = 10,
  HorzScrollBar = 11,
  GroupBox = 12,
  ControlKindCount = 13
};

struct ControlKindRow {
  const char* className;
  DWORD style;
  DWORD exStyle;
};
extern const ControlKindRow ControlKindTable[ControlKindCount];

struct BoundControl {
  HWND control;
  int kind;
  int id;
  int param1;
  int param2;
  void* bound;
  BoundControl* next;
};

struct ControlGroup {
  HWND parent;
  BoundControl* controls;
  ControlGroup* next;
};

// Head of the group list, newest first. Groups and records are fixed
// global memory blocks, freed only by DestroyBoundControls.
extern ControlGroup* ControlRegistry;

// Interface fonts: 0 is every control's default, 1 the small one. Both are
// created by the first GetInterfaceFont call and never deleted.
HFONT GetInterfaceFont(int index);
int GetFontWidth(int index);
int GetFontHeight(int index);

// Option letters of an edit kind, given as its text: a sunken edge, a thin border.
const char EditSunken[] = "3";
const char EditBorder[] = "B";

HWND CreateBoundControl(HWND parent, int x, int y, int width, int height, int kind,
                        const char* text, int id, int param1, int param2, void* bound);
BoundControl* RegisterBoundControl(HWND parent, HWND control, int kind, int id, int param1,
                                   int param2, void* bound);
HWND FindControlById(HWND parent, int id);  // (HWND)-1 when there is none
BoundControl* FindBoundControl(HWND parent, HWND control);
int GetBoundControlId(HWND parent, HWND control);
BoundControl* RebindControl(HWND parent, int id, void* bound);
void DestroyBoundControls(HWND window);

// Value exchange. Setting a number field's text makes the platform notify
// the parent at once; the parent hands every notification of a control to
// CommitBoundControl, so each show (and each corrected text) is committed
// back from inside the call that set it.
void ShowBoundValue(HWND parent, const BoundControl* record);
void RefreshBoundControls(HWND window);
void EnableBoundControls(HWND window, int enable);
void CommitBoundControl(HWND parent, HWND control);
void CommitBoundControlById(HWND parent, int id);

#endif
