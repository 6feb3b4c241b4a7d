// The system's virtual-key codes and message box values: one home for the numbers that the back-ends
// produce, the runtime passes on, and the game and its tests compare against.
#pragma once

namespace rt {

// Virtual-key codes, as the system numbers its keys. A back-end turns each key it knows into one of
// these; letters and digits are their upper-case ASCII codes ('A' = 65, '0' = 48).
inline constexpr int vbKeyBack = 8;
inline constexpr int vbKeyTab = 9;
inline constexpr int vbKeyReturn = 13;
inline constexpr int vbKeyShift = 16;
inline constexpr int vbKeyControl = 17;
inline constexpr int vbKeyMenu = 18;  // Alt
inline constexpr int vbKeyPause = 19;
inline constexpr int vbKeyEscape = 27;
inline constexpr int vbKeySpace = 32;
inline constexpr int vbKeyLeft = 37;
inline constexpr int vbKeyUp = 38;
inline constexpr int vbKeyRight = 39;
inline constexpr int vbKeyDown = 40;
inline constexpr int vbKeyA = 65;
inline constexpr int vbKeyP = 80;
inline constexpr int vbKey0 = 48;
inline constexpr int vbKeyF1 = 112;  // F2 to F12 follow

// Message box styles and answers.
inline constexpr int vbYesNo = 4;
inline constexpr int vbQuestion = 32;
inline constexpr int vbOK = 1;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;

}  // namespace rt
