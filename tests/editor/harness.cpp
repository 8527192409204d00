#include "editor/harness.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>

namespace {

const long TurnCountOffset = 364;
const long SmallValuesOffset = 532;

// The file region of each GameState word, visited in one walk.
template <typename Visit>
void ForEachWord(GameStateData& state, Visit visit) {
  visit(TurnCountOffset, state.turnCount);
  for (int j = 0; j < SmallValueCount; ++j) visit(SmallValuesOffset + 2 * j, state.smallValues[j]);
  for (int k = 0; k < CounterCount; ++k) visit(CounterOffset(k), state.counters[k]);
  for (int r = 0; r < StatCount; ++r)
    for (int u = 0; u < UnitCount; ++u) visit(StatOffset(r, u), state.statRows[r][u]);
}

std::uint16_t Invert(std::uint16_t value) { return value == 0 ? 1 : 0; }

}  // namespace

Bytes SyntheticSave(unsigned seed) {
  std::mt19937 random(seed);
  Bytes bytes(SaveFileMinLength + 64);
  for (unsigned char& b : bytes) b = static_cast<unsigned char>(random());
  std::memcpy(&bytes[0], SaveHeaderText, SaveHeaderLength);
  std::memcpy(&bytes[96], SaveTitleText, SaveTitleLength);
  return bytes;
}

std::uint16_t WordAt(const Bytes& bytes, long offset) {
  return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

void PutWord(Bytes& bytes, long offset, std::uint16_t value) {
  bytes[offset] = static_cast<unsigned char>(value & 0xFF);
  bytes[offset + 1] = static_cast<unsigned char>(value >> 8);
}

long CounterOffset(int counter) {
  return counter < ItemCounterCount ? 1070 + 2 * counter : 916 + 2 * (counter - ItemCounterCount);
}

long StatOffset(int row, int unit) { return FieldTable[row].offset + 2 * unit; }

GameStateData StateOf(const Bytes& bytes) {
  GameStateData state = {};
  ForEachWord(state, [&](long offset, std::uint16_t& word) { word = WordAt(bytes, offset); });
  for (std::uint16_t& flag : state.statRows[EndFlagRow]) flag = Invert(flag);
  return state;
}

Bytes Stored(Bytes bytes, const GameStateData& state) {
  GameStateData copy = state;
  for (std::uint16_t& flag : copy.statRows[EndFlagRow]) flag = Invert(flag);
  ForEachWord(copy, [&](long offset, std::uint16_t& word) { PutWord(bytes, offset, word); });
  return bytes;
}

void ClampShown(GameStateData& state) {
  for (std::uint16_t& v : state.smallValues) v = std::min<std::uint16_t>(v, 3);
  for (std::uint16_t& v : state.counters) v = std::min<std::uint16_t>(v, 99);
}

void ClampUnit(GameStateData& state, int unit) {
  state.statRows[0][unit] = std::max<std::uint16_t>(state.statRows[0][unit], 1);
  state.statRows[12][unit] = std::min<std::uint16_t>(state.statRows[12][unit], 9);
  state.statRows[13][unit] = std::min<std::uint16_t>(state.statRows[13][unit], 4);
}

std::string WindowText(HWND window) {
  char text[1024] = {};
  LRESULT n = SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return std::string(text, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string Hex(const std::string& bytes) {
  std::string hex;
  char two[4];
  for (unsigned char c : bytes) {
    std::snprintf(two, sizeof two, "%02X", c);
    hex += two;
  }
  return hex;
}

std::vector<long> Placement(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

namespace {

struct DialogSearch {
  HWND owner;
  HWND found;
};

BOOL CALLBACK MatchOwnedDialog(HWND window, LPARAM data) {
  DialogSearch* search = reinterpret_cast<DialogSearch*>(data);
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::strcmp(name, "#32770") != 0 || GetWindow(window, GW_OWNER) != search->owner ||
      !IsWindowVisible(window))
    return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

HWND FindOwnedDialog(HWND owner) {
  DialogSearch search = {owner, nullptr};
  EnumWindows(MatchOwnedDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForOwnedDialog(HWND owner, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (HWND dialog = FindOwnedDialog(owner)) return dialog;
    if (GetTickCount() - start > timeoutMs) return nullptr;
    Sleep(5);
  }
}

// Waits until dialog is gone or hidden; false after timeoutMs.
static bool WaitUntilClosed(HWND dialog, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (IsWindow(dialog) && IsWindowVisible(dialog)) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(5);
  }
  return true;
}

SeenDialog HandleDialog(HWND dialog, const DialogStep* step) {
  SeenDialog seen = {};
  seen.expected = step != nullptr;
  seen.caption = WindowText(dialog);
  if (HWND text = GetDlgItem(dialog, MessageBoxTextId)) seen.text = WindowText(text);
  if (HWND icon = GetDlgItem(dialog, MessageBoxIconId))
    if (IsWindowVisible(icon))
      seen.icon = reinterpret_cast<HICON>(SendMessageA(icon, STM_GETICON, 0, 0));
  if (HWND types = GetDlgItem(dialog, OpenDialogTypeList)) {
    char text[256];
    for (LRESULT i = 0, n = SendMessageA(types, CB_GETCOUNT, 0, 0); i < n; ++i)
      if (SendMessageA(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text)) > 0) seen.fileTypes.push_back(text);
  }
  for (int id = IDOK; id <= IDCONTINUE; ++id) seen.buttons[id] = GetDlgItem(dialog, id) != nullptr;

  int button = IDCANCEL;
  if (step) {
    button = step->button;
    if (!step->path.empty()) {
      HWND field = GetDlgItem(dialog, OpenDialogFileField);
      if (!field) field = GetDlgItem(dialog, OpenDialogFileCombo);
      SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(step->path.c_str()));
    }
  } else if (!seen.buttons[IDCANCEL]) {
    button = seen.buttons[IDNO] ? IDNO : IDOK;
  }
  PostMessageA(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
  seen.closed = WaitUntilClosed(dialog, 5000);
  return seen;
}

DialogUser::DialogUser(HWND owner, std::vector<DialogStep> steps) : owner(owner), steps(std::move(steps)) {
  thread = std::thread([this] {
    std::size_t next = 0;
    while (!stop) {
      HWND dialog = FindOwnedDialog(this->owner);
      if (!dialog) {
        Sleep(5);
        continue;
      }
      // Let the dialog finish setting itself up before it is read.
      Sleep(20);
      const DialogStep* step = next < this->steps.size() ? &this->steps[next++] : nullptr;
      seen.push_back(HandleDialog(dialog, step));
    }
  });
}

DialogUser::~DialogUser() {
  if (thread.joinable()) Finish();
}

std::vector<SeenDialog> DialogUser::Finish() {
  stop = true;
  thread.join();
  return seen;
}

bool StartEditor(EditorProcess& editor) {
  if (!StartProcess("\"" ASDEDIT_PATH "\"", editor.process)) return false;
  editor.main = WaitForProcessWindow(editor.process.dwProcessId, "MorWin0", 10000);
  return editor.main != nullptr;
}

void Settle(const EditorProcess& editor) {
  DWORD_PTR result;
  SendMessageTimeoutA(editor.main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
}

bool OpenInEditor(const EditorProcess& editor, const std::string& path) {
  PostMessageA(editor.main, WM_COMMAND, 1, 0);
  HWND dialog = WaitForOwnedDialog(editor.main, 10000);
  if (!dialog) return false;
  Sleep(20);  // let the dialog finish setting itself up
  DialogStep step = {IDOK, path};
  if (!HandleDialog(dialog, &step).closed) return false;
  // The title changes in the middle of the command; the rest of it runs
  // before the editor takes the next message.
  std::string title = "モルダン・ピクセリオン - Save Editor ver 0.5 (" + path + ")";
  for (DWORD start = GetTickCount(); WindowText(editor.main) != title; Sleep(5))
    if (GetTickCount() - start > 10000) return false;
  Settle(editor);
  return true;
}

bool SaveInEditor(const EditorProcess& editor) {
  DWORD_PTR result;
  LRESULT done = SendMessageTimeoutA(editor.main, WM_COMMAND, 2, 0, SMTO_NORMAL, 5000, &result);
  HWND box = FindOwnedDialog(editor.main);
  DialogStep ok = {IDOK, ""};
  if (box) HandleDialog(box, &ok);
  return done != 0 && !box;
}

DWORD ExitEditor(EditorProcess& editor) {
  PostMessageA(editor.main, WM_COMMAND, 4, 0);
  HWND box = editor.main ? WaitForOwnedDialog(editor.main, 10000) : nullptr;
  if (box) {
    Sleep(20);
    DialogStep yes = {IDYES, ""};
    HandleDialog(box, &yes);
  }
  DWORD code = WaitForExit(editor.process, box ? 10000 : 0);
  return box ? code : STILL_ACTIVE;
}
