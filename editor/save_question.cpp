// The questions a save asks, with the program's labels on the buttons of the
// question about another program's change.
#include "editor/save_question.h"

#include "app/text.h"
#include "editor/texts.h"

namespace {

// The save question's answers, left to right, with the program's labels.
struct AnswerLabel {
  int id;
  const char* text;
};
const AnswerLabel SaveAnswers[] = {
    {IDYES, WriteAllLabel}, {IDNO, WriteEditsLabel}, {IDCANCEL, WriteNothingLabel}};
const int SaveAnswerCount = sizeof SaveAnswers / sizeof SaveAnswers[0];

// Labels the save question's buttons; false when the box lacks one. Where a
// label is wider than the box made its buttons, all of them widen alike,
// centred, and the box with them.
bool LabelSaveAnswers(HWND box) {
  HWND buttons[SaveAnswerCount];
  for (int i = 0; i < SaveAnswerCount; ++i) {
    buttons[i] = GetDlgItem(box, SaveAnswers[i].id);
    if (!buttons[i]) return false;
  }
  int need = 0;
  HDC dc = GetDC(box);
  for (int i = 0; i < SaveAnswerCount; ++i) {
    const ProgramText label(SaveAnswers[i].text);
    SetWindowTextW(buttons[i], label);
    HGDIOBJ font =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(buttons[i], WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32W(dc, label, lstrlenW(label), &size);
    SelectObject(dc, font);
    if (size.cx + size.cy > need) need = size.cx + size.cy;  // a line's height of room around it
  }
  ReleaseDC(box, dc);
  RECT first;
  RECT last;
  RECT client;
  GetWindowRect(buttons[0], &first);
  GetWindowRect(buttons[SaveAnswerCount - 1], &last);
  int width = first.right - first.left;
  if (need <= width) return true;
  int gap = (last.left - first.left) / (SaveAnswerCount - 1) - width;
  int row = SaveAnswerCount * need + (SaveAnswerCount - 1) * gap;
  GetClientRect(box, &client);
  int grow = row + 2 * gap - client.right;  // as much room at the sides as between the buttons
  if (grow > 0) {
    RECT frame;
    GetWindowRect(box, &frame);
    SetWindowPos(box, nullptr, frame.left - grow / 2, frame.top, frame.right - frame.left + grow,
                 frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
    client.right += grow;
  }
  MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&first), 2);
  for (int i = 0; i < SaveAnswerCount; ++i)
    MoveWindow(buttons[i], (client.right - row) / 2 + i * (need + gap), first.top, need,
               first.bottom - first.top, TRUE);
  return true;
}

// While the save question is asked: labels its buttons once the box has laid
// itself out, at the end of its WM_INITDIALOG. (Wine activates the box while
// it still places its buttons, so that HCBT_ACTIVATE comes too early.) A box
// whose buttons cannot be labelled ends there, before it shows: its
// platform's labels would not say what each answer writes.
HHOOK AnswerHook;
enum AnswerBoxState { BoxAwaited, BoxLabelled, BoxEnded } AnswerBox;
LRESULT CALLBACK LabelLaidOutBox(int code, WPARAM wParam, LPARAM lParam) {
  const CWPRETSTRUCT* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (code == HC_ACTION && call->message == WM_INITDIALOG && AnswerBox == BoxAwaited) {
    AnswerBox = LabelSaveAnswers(call->hwnd) ? BoxLabelled : BoxEnded;
    if (AnswerBox == BoxEnded) EndDialog(call->hwnd, IDCANCEL);
  }
  return CallNextHookEx(AnswerHook, code, wParam, lParam);
}

}  // namespace

int AskSaveQuestion(HWND owner, const char* path) {
  UINT question = MB_YESNOCANCEL | MB_ICONWARNING | MB_DEFBUTTON3;
  AnswerBox = BoxAwaited;
  AnswerHook = SetWindowsHookExW(WH_CALLWNDPROCRET, LabelLaidOutBox, nullptr, GetCurrentThreadId());
  int answer = AnswerHook
                   ? PathMessageBox(owner, ChangedOutsideFormat, path, QuestionCaption, question)
                   : IDCANCEL;
  if (AnswerHook) UnhookWindowsHookEx(AnswerHook);
  if (AnswerBox == BoxLabelled) return answer;
  ProgramMessageBox(owner, SaveQuestionFailedText, ErrorCaption, MB_OK | MB_ICONERROR);
  return IDCANCEL;
}

bool AskWithoutBackup(HWND owner, DWORD error) {
  UINT question = MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2;
  return MessageBoxW(owner, ReasonText(BackupFailedFormat, error, SystemErrorFormat),
                     ProgramText(QuestionCaption), question) == IDYES;
}
