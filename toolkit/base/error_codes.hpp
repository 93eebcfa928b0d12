// Names of the toolkit's error codes (their messages are in error_text.cpp). The numbers
// are what IErrorReport records and callers read back with IErrorCode.
#pragma once

namespace quill::error {

inline constexpr int kFileOpen = 1;
inline constexpr int kFileReadWrite = 2;
inline constexpr int kFileClose = 3;
inline constexpr int kNumberTooLarge = 4;
inline constexpr int kNoSubstring = 10;
inline constexpr int kSecondDecimalPoint = 11;
inline constexpr int kInvalidCharacter = 12;
inline constexpr int kOperatingSystem = 13;
inline constexpr int kUnitRange = 16;
inline constexpr int kNumberToText = 18;
inline constexpr int kUnsupportedImageFormat = 27;
inline constexpr int kRadius = 20;
inline constexpr int kZeroSize = 22;
inline constexpr int kUnknownColour = 42;
inline constexpr int kAreaRange = 44;
inline constexpr int kNoHardcopyDriver = 46;
inline constexpr int kFillTooComplex = 49;
inline constexpr int kPrinterUnavailable = 63;
inline constexpr int kInvalidWindow = 1003;
inline constexpr int kCommonDialog = 1004;
inline constexpr int kNoCurrentDialog = 1005;
inline constexpr int kInvalidField = 1006;
inline constexpr int kDialogNotFound = 1007;
inline constexpr int kDialogNotSelectable = 1008;
inline constexpr int kFieldValueOutOfRange = 1009;
inline constexpr int kFieldValueUndefined = 1010;
inline constexpr int kOptionOutOfRange = 1011;
inline constexpr int kInvalidDialogMode = 1014;
inline constexpr int kInvalidImage = 1015;
inline constexpr int kParentHidden = 1016;
inline constexpr int kCellOutOfRange = 1017;
inline constexpr int kGridSize = 1018;
inline constexpr int kDrawingSurface = 1019;
inline constexpr int kBitmapCreation = 1020;
inline constexpr int kInvalidBitmap = 1021;
inline constexpr int kVariableTooSmall = 1023;
inline constexpr int kOpenGl = 1035;
inline constexpr int kZlib = 1044;
inline constexpr int kWrongStyleToCombine = 1045;
inline constexpr int kParentCombined = 1046;
inline constexpr int kDialogCombined = 1047;
inline constexpr int kGridWindowMode = 1052;
inline constexpr int kGridWindowInit = 1053;
inline constexpr int kGridFileSize = 1054;
inline constexpr int kGridOptionMatch = 1055;
inline constexpr int kMetafileHandle = 1060;
inline constexpr int kMetafileFull = 1062;
inline constexpr int kMetafileDrawable = 1063;
inline constexpr int kBitmapCopy = 1066;
inline constexpr int kSubDialog = 1069;
inline constexpr int kImageSave = 1072;
inline constexpr int kMailProgram = 1083;
inline constexpr int kMailAttachment = 1084;
inline constexpr int kTooManyDialogs = 1087;
inline constexpr int kDialogCreation = 1088;
inline constexpr int kClipboard = 1094;
inline constexpr int kClipboardType = 1095;
inline constexpr int kImageTooLarge = 1109;
inline constexpr int kGridColumnType = 1111;
inline constexpr int kGridRowCount = 1113;

}  // namespace quill::error
