// The interface fonts of every bound control.
#include "controls/controls.h"

#include "app/text.h"

namespace {

const int InterfaceFontCount = 2;

// Both fonts are the fixed-pitch gothic face, full size and small. The face
// name is a program text: it is put in, as UTF-16, when the fonts are made.
const char InterfaceFace[] = "ＭＳ ゴシック";
const LOGFONTW InterfaceFonts[InterfaceFontCount] = {
    {16, 8, 0, 0, FW_DONTCARE, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, PROOF_QUALITY,
     FIXED_PITCH | FF_MODERN, L""},
    {12, 6, 0, 0, FW_DONTCARE, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, PROOF_QUALITY,
     FIXED_PITCH | FF_MODERN, L""},
};

HFONT FontHandles[InterfaceFontCount];
bool FontsCreated = false;

bool IsFontIndex(int index) { return index >= 0 && index < InterfaceFontCount; }

}  // namespace

// Handle of interface font index; the first call creates both fonts.
HFONT GetInterfaceFont(int index) {
  if (!FontsCreated) {
    FontsCreated = true;
    for (int i = 0; i < InterfaceFontCount; ++i) {
      LOGFONTW font = InterfaceFonts[i];
      ToWide(InterfaceFace, ProgramCodePage, font.lfFaceName, LF_FACESIZE);
      FontHandles[i] = CreateFontIndirectW(&font);
    }
  }
  return IsFontIndex(index) ? FontHandles[index] : nullptr;
}

// Character cell width of interface font index, 0 for no such font.
int GetFontWidth(int index) { return IsFontIndex(index) ? InterfaceFonts[index].lfWidth : 0; }

// Character cell height of interface font index, 0 for no such font.
int GetFontHeight(int index) { return IsFontIndex(index) ? InterfaceFonts[index].lfHeight : 0; }
