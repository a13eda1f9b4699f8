#pragma once
// Command numbers of CodeMax::ExecuteCmd and of the hot-key table.
// 136 to 241 are the numbers the programs use; 300 and above are ours, for
// keys that every editor needs and that have no number of their own.

namespace platform::CodeMaxCmd {

inline constexpr int SelectLine = 136;
inline constexpr int SelectAll = 137;
inline constexpr int Paste = 140;
inline constexpr int LineUpExtend = 148;
inline constexpr int LineUp = 149;
inline constexpr int LineStart = 151;
inline constexpr int LineOpenBelow = 152;
inline constexpr int LineOpenAbove = 153;
inline constexpr int LineEndExtend = 154;
inline constexpr int LineEnd = 155;
inline constexpr int LineDownExtend = 156;
inline constexpr int LineDown = 157;
inline constexpr int LineDeleteToStart = 158;
inline constexpr int LineDeleteToEnd = 159;
inline constexpr int LineDelete = 160;
inline constexpr int LineCut = 161;
inline constexpr int HomeExtend = 164;
inline constexpr int Home = 165;  // start of the line or of its text
inline constexpr int GotoLine = 168;  // data: line from 0; -1 or none asks the user
inline constexpr int FindReplace = 169;  // find and replace dialog
inline constexpr int ReplaceAll = 171;  // FindText by ReplText everywhere, one undo step
inline constexpr int FindPrevWord = 173;
inline constexpr int FindPrev = 174;
inline constexpr int FindNextWord = 175;
inline constexpr int FindNext = 176;
inline constexpr int FindMarkAll = 177;  // bookmark every line holding FindText
inline constexpr int Find = 178;  // find dialog
inline constexpr int End = 184;  // line end, then bottom of the window, then end of text
inline constexpr int DocumentStartExtend = 188;
inline constexpr int DocumentStart = 189;
inline constexpr int DocumentEndExtend = 190;
inline constexpr int DocumentEnd = 191;
inline constexpr int DeleteBack = 194;
inline constexpr int Delete = 195;  // the selection only: nothing when none
inline constexpr int CutSelection = 196;
inline constexpr int Cut = 197;
inline constexpr int Copy = 198;
inline constexpr int CharRightExtend = 200;
inline constexpr int CharRight = 201;
inline constexpr int CharLeftExtend = 202;
inline constexpr int CharLeft = 203;
inline constexpr int BookmarkToggle = 204;
inline constexpr int BookmarkPrev = 205;
inline constexpr int BookmarkNext = 206;
inline constexpr int BookmarkClearAll = 207;
inline constexpr int NewLine = 212;
inline constexpr int RecordMacro = 213;  // starts or ends a recording; data: the slot
inline constexpr int PlayMacro1 = 214;  // 214 + k plays slot k (0..9)
inline constexpr int PlayMacro10 = 223;
inline constexpr int InsertMode = 240;
inline constexpr int OverwriteMode = 241;

// Ours.
inline constexpr int Undo = 300;
inline constexpr int Redo = 301;
inline constexpr int PageUp = 302;
inline constexpr int PageUpExtend = 303;
inline constexpr int PageDown = 304;
inline constexpr int PageDownExtend = 305;
inline constexpr int WordLeft = 306;
inline constexpr int WordLeftExtend = 307;
inline constexpr int WordRight = 308;
inline constexpr int WordRightExtend = 309;
inline constexpr int Tab = 310;
inline constexpr int BackTab = 311;
inline constexpr int Cancel = 312;  // Escape: empties the selection; else the key goes on to the window
inline constexpr int Properties = 313;  // raises SettingsRequest
inline constexpr int WordDeleteLeft = 314;
inline constexpr int WordDeleteRight = 315;
inline constexpr int ScrollLineUp = 316;
inline constexpr int ScrollLineDown = 317;
inline constexpr int ToggleOverwrite = 318;
// What a key bound to Delete (195) does, and what a macro records for it:
// the selection, or else the character after the caret.
inline constexpr int DeleteKey = 319;

}  // namespace platform::CodeMaxCmd
