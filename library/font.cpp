// Fonts of four fixed faces.
#include <cstring>

#include "kestrum.h"
#include "kestrum_internal.h"

extern "C" HFONT __cdecl FontInitial_(int face, int height, HFONT* font) {
  LOGFONTA description = {};
  description.lfHeight = height;
  description.lfWeight = FW_DONTCARE;
  description.lfCharSet = DEFAULT_CHARSET;
  description.lfOutPrecision = OUT_DEFAULT_PRECIS;
  description.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  description.lfQuality = DEFAULT_QUALITY;
  description.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  std::strcpy(description.lfFaceName, kestrum::FaceNameFor(face));
  *font = CreateFontIndirectA(&description);
  return *font;
}
