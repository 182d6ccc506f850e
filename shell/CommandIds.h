// Command numbers: menu items 1001–1703, buttons and controls 2001–2703. Every
// user action reaches the main window as one of these.
#pragma once

namespace vk::cmd {

inline constexpr int kRepeatOne = 1001;
inline constexpr int kRepeatAll = 1002;
inline constexpr int kSearchNext = 1011;
inline constexpr int kSearchPrev = 1012;
inline constexpr int kMoveUp = 1021;
inline constexpr int kMoveDown = 1022;
inline constexpr int kOpen = 1031;
inline constexpr int kAdd = 1032;
inline constexpr int kSavePlaylist = 1033;
inline constexpr int kRemoveSelected = 1041;
inline constexpr int kRemovePlayed = 1042;
inline constexpr int kClearPlaylist = 1043;
inline constexpr int kMp3Diagnostics = 1051;
inline constexpr int kExit = 1061;
inline constexpr int kTopMost = 1201;
inline constexpr int kMiniMode = 1202;
inline constexpr int kMaxMode = 1203;
inline constexpr int kPictureLeft = 1211;   // 1211, 1212
inline constexpr int kOctave6 = 1221;       // 1221 … 1224
inline constexpr int kGraphLine = 1231;     // 1231, 1232
inline constexpr int kGaugeDb = 1241;
inline constexpr int kGaugeHz = 1242;
inline constexpr int kPeakHoldNone = 1251;  // 1251 … 1254
inline constexpr int kShowLyrics = 1261;
inline constexpr int kLyricsFixed = 1262;   // 1262, 1263
inline constexpr int kLyricsBefore0 = 1264; // 1264 … 1267
inline constexpr int kLyricsAfter0 = 1268;  // 1268 … 1271
inline constexpr int kLyricsMinScroll0 = 1272;  // 1272 … 1275
inline constexpr int kLyricsGap0 = 1276;    // 1276 … 1279
inline constexpr int kFrameRate = 1281;
inline constexpr int kKeyMode = 1282;     // keys show the notes found (KeyMode)
inline constexpr int kThresDwUp = 1291;
inline constexpr int kThresDwDown = 1292;
inline constexpr int kThresUpUp = 1293;
inline constexpr int kThresUpDown = 1294;
inline constexpr int kAutoThres = 1295;
inline constexpr int kPlaySelected = 1301;
inline constexpr int kStop = 1302;
inline constexpr int kPlayPause = 1303;
inline constexpr int kPrevious = 1311;
inline constexpr int kNext = 1312;
inline constexpr int kSpeedDown = 1321;
inline constexpr int kSpeedUp = 1322;
inline constexpr int kAAtClick = 1331;
inline constexpr int kBAtClick = 1332;
inline constexpr int kAAtNow = 1333;
inline constexpr int kBAtNow = 1334;
inline constexpr int kABOff = 1335;
inline constexpr int kChannelStereo = 1341;  // 1341 … 1345
inline constexpr int kBalanceLeft = 1351;
inline constexpr int kBalanceRight = 1352;
inline constexpr int kVolumeDown = 1361;
inline constexpr int kVolumeUp = 1362;
inline constexpr int kEffectTmst = 1401;    // 1401 … 1406
inline constexpr int kTmstQuality = 1407;   // high-quality time stretch (TmstQuality)
inline constexpr int kPsftQuality = 1408;   // high-quality pitch shift (PsftQuality)
inline constexpr int kPsftFormant = 1409;   // voices keep their formants (PsftFormant)
inline constexpr int kPageTmst = 1411;      // 1411 … 1416
inline constexpr int kVocalCancel = 1421;
inline constexpr int kRecommendTmst = 1431; // 1431 … 1436
inline constexpr int kRecommendAll = 1441;
inline constexpr int kResetDevice = 1501;
inline constexpr int kNextPlayList0 = 1511;     // 1511 … 1513
inline constexpr int kMainPriority0 = 1514;     // 1514 … 1516
inline constexpr int kWaveBufLen0 = 1521;       // 1521 … 1524
inline constexpr int kWaveBufNum0 = 1531;       // 1531 … 1535
inline constexpr int kPlayPriority0 = 1541;     // 1541 … 1543
inline constexpr int kPlaySleep0 = 1551;        // 1551 … 1556
inline constexpr int kFftSize0 = 1571;          // 1571 … 1577
inline constexpr int kDrawPriority0 = 1581;     // 1581 … 1583
inline constexpr int kDrawSleep0 = 1591;        // 1591 … 1596
inline constexpr int kAllOptions = 1601;
inline constexpr int kManual = 1701;
inline constexpr int kWebSite = 1702;
inline constexpr int kAbout = 1703;

// Buttons and controls the menu items forward to.
inline constexpr int kBtnTopMost = 2001;
inline constexpr int kBtnMiniMode = 2002;
inline constexpr int kPlaylistView = 2021;
inline constexpr int kSearchBox = 2022;
inline constexpr int kBtnSearchNext = 2023;
inline constexpr int kBtnSearchPrev = 2024;
inline constexpr int kBtnRepeatOne = 2025;
inline constexpr int kBtnRepeatAll = 2026;
inline constexpr int kBtnStop = 2031;
inline constexpr int kBtnPlayPause = 2032;
inline constexpr int kBtnPrev = 2033;
inline constexpr int kBtnNext = 2034;
inline constexpr int kBtnAAtNow = 2045;
inline constexpr int kBtnBAtNow = 2046;
inline constexpr int kBtnABOff = 2047;
inline constexpr int kBtnChannel0 = 2051;  // 2051 … 2055
inline constexpr int kBtnEffect0 = 2071;   // 2071 … 2076
inline constexpr int kBtnPage0 = 2081;     // 2081 … 2086
inline constexpr int kBtnPageRecommend = 2701;
inline constexpr int kBtnVocalCancel = 2702;
inline constexpr int kBtnMaxMode = 2703;
inline constexpr int kStatusBar = 2901;

}  // namespace vk::cmd
