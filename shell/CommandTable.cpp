#include "shell/CommandTable.h"

#include "engine/EffectParams.h"
#include "shell/CommandIds.h"

namespace vk {
namespace {

using S = Settings;

constexpr CommandLabel kLabels[] = {
    {1001, "１曲リピート"},
    {1002, "全曲リピート"},
    {1011, "プレイリストにおいて次のファイルを検索"},
    {1012, "プレイリストにおいて前のファイルを検索"},
    {1021, "プレイリストのファイルを１つ上に移動(Ctrl+↑)"},
    {1022, "プレイリストのファイルを１つ下に移動(Ctrl+↓)"},
    {1031, "開く(&O)..."},
    {1032, "プレイリストに追加(&A)..."},
    {1033, "名前を付けてプレイリストを保存(&S)..."},
    {1041, "プレイリストから削除(Delete)"},
    {1042, "再生終了したファイルをプレイリストから削除"},
    {1043, "プレイリストをクリア"},
    {1051, "MP3ファイル診断"},
    {1052, "エフェクトを付けて書き出し..."},
    {1053, "Ａ－Ｂ間をエフェクトを付けて書き出し..."},
    {1061, "終了(&X)"},
    {1201, "常に手前に表示"},
    {1202, "最小限モード"},
    {1203, "最大限モード"},
    {1211, "画像ウィンドウを左側に表示"},
    {1212, "画像ウィンドウを右側に表示"},
    {1221, "　６オクターブ"},
    {1222, "　８オクターブ"},
    {1223, "１０オクターブ"},
    {1224, "１２オクターブ"},
    {1231, "スペクトラム波形：折れ線グラフ"},
    {1232, "スペクトラム波形：棒グラフ"},
    {1241, "音量ゲージ"},
    {1242, "周波数ゲージ"},
    {1251, "レベルメータのピークホールド：なし"},
    {1252, "レベルメータのピークホールド：１秒"},
    {1253, "レベルメータのピークホールド：２秒"},
    {1254, "レベルメータのピークホールド：５秒"},
    {1261, "歌詞を表示"},
    {1262, "カラオケタグ付き歌詞を固定表示"},
    {1263, "カラオケタグ付き歌詞をワイプ表示"},
    {1264, "スクロールが開始するまで：　　　０ミリ秒"},
    {1265, "スクロールが開始するまで：１０００ミリ秒"},
    {1266, "スクロールが開始するまで：２０００ミリ秒"},
    {1267, "スクロールが開始するまで：４０００ミリ秒"},
    {1268, "スクロールが終了してから：　　　０ミリ秒"},
    {1269, "スクロールが終了してから：１０００ミリ秒"},
    {1270, "スクロールが終了してから：２０００ミリ秒"},
    {1271, "スクロールが終了してから：４０００ミリ秒"},
    {1272, "最低スクロール期間：　　　０ミリ秒"},
    {1273, "最低スクロール期間：１０００ミリ秒"},
    {1274, "最低スクロール期間：２０００ミリ秒"},
    {1275, "最低スクロール期間：４０００ミリ秒"},
    {1276, "行間ギャップ期間：　　０ミリ秒"},
    {1277, "行間ギャップ期間：　５０ミリ秒"},
    {1278, "行間ギャップ期間：１００ミリ秒"},
    {1279, "行間ギャップ期間：２００ミリ秒"},
    {1281, "フレームレート"},
    {1282, "鍵盤に演奏中の音を表示(N)"},
    {1283, "聴こえる音（エフェクト後）から鍵盤を光らせる"},
    {1291, "光る鍵盤の下側しきい値を上げる"},
    {1292, "光る鍵盤の下側しきい値を下げる"},
    {1293, "光る鍵盤の上側しきい値を上げる"},
    {1294, "光る鍵盤の上側しきい値を下げる"},
    {1295, "光る鍵盤のしきい値を自動調整"},
    {1301, "再生(Enter)"},
    {1302, "停止"},
    {1303, "再生／一時停止"},
    {1311, "前へ"},
    {1312, "次へ"},
    {1321, "再生速度 減少"},
    {1322, "再生速度 増加"},
    {1331, "今右クリックした位置をＡ点に設定"},
    {1332, "今右クリックした位置をＢ点に設定"},
    {1333, "現在の再生位置をＡ点に設定"},
    {1334, "現在の再生位置をＢ点に設定"},
    {1335, "Ａ－Ｂ間リピートを解除"},
    {1336, "ループトレーナー"},
    {1337, "ループトレーナーの設定..."},
    {1341, "チャネル選択 Ｌ・Ｒ"},
    {1342, "チャネル選択 Ｌ＋Ｒ"},
    {1343, "チャネル選択 Ｌ"},
    {1344, "チャネル選択 Ｒ"},
    {1345, "チャネル選択 Ｌ－Ｒ"},
    {1351, "左右バランス 左へ"},
    {1352, "左右バランス 右へ"},
    {1361, "音量 下げる"},
    {1362, "音量 上げる"},
    {1371, "現在の再生位置にマーカーを設定(M)"},
    {1372, "次のマーカーへ(])"},
    {1373, "前のマーカーへ([)"},
    {1401, "タイムストレッチ"},
    {1402, "ピッチシフト"},
    {1403, "トーンコントロール"},
    {1404, "コーラス"},
    {1405, "ディレイ"},
    {1406, "リバーブ"},
    {1407, "高音質タイムストレッチ"},
    {1408, "高音質ピッチシフト"},
    {1409, "ピッチシフトでフォルマントを保つ"},
    {1411, "タイムストレッチ設定ページ"},
    {1412, "ピッチシフト設定ページ"},
    {1413, "トーンコントロール設定ページ"},
    {1414, "コーラス設定ページ"},
    {1415, "ディレイ設定ページ"},
    {1416, "リバーブ設定ページ"},
    {1421, "ボーカルキャンセルに適した設定にする"},
    {1431, "タイムストレッチの設定を推奨値に戻す"},
    {1432, "ピッチシフトの設定を推奨値に戻す"},
    {1433, "トーンコントロールの設定を推奨値に戻す"},
    {1434, "コーラスの設定を推奨値に戻す"},
    {1435, "ディレイの設定を推奨値に戻す"},
    {1436, "リバーブの設定を推奨値に戻す"},
    {1441, "すべてのエフェクタの設定を推奨値に戻す"},
    {1501, "設定を変えるたびにデバイスをリセット（推奨）"},
    {1511, "初期化"},
    {1512, "終了時の状態を復元"},
    {1513, "終了時の状態と再生位置を復元（推奨）"},
    {1514, "標準"},
    {1515, "標準より１ポイント高く"},
    {1516, "標準より２ポイント高く（推奨）"},
    {1521, "１００ミリ秒"},
    {1522, "２００ミリ秒"},
    {1523, "４００ミリ秒（推奨）"},
    {1524, "８００ミリ秒"},
    {1531, "　１個"},
    {1532, "　２個"},
    {1533, "　４個"},
    {1534, "　８個（推奨）"},
    {1535, "１６個"},
    {1541, "標準"},
    {1542, "標準より１ポイント高く"},
    {1543, "標準より２ポイント高く（推奨）"},
    {1551, "　　１ミリ秒"},
    {1552, "　　２ミリ秒"},
    {1553, "　　５ミリ秒（推奨）"},
    {1554, "　１０ミリ秒"},
    {1555, "　２０ミリ秒"},
    {1556, "　５０ミリ秒"},
    {1571, "　１０２４"},
    {1572, "　２０４８"},
    {1573, "　４０９６"},
    {1574, "　８１９２（推奨）"},
    {1575, "１６３８４"},
    {1576, "３２７６８"},
    {1577, "６５５３６"},
    {1581, "標準（推奨）"},
    {1582, "標準より１ポイント高く"},
    {1583, "標準より２ポイント高く"},
    {1591, "　　１ミリ秒"},
    {1592, "　　２ミリ秒"},
    {1593, "　　５ミリ秒"},
    {1594, "　１０ミリ秒（推奨）"},
    {1595, "　２０ミリ秒"},
    {1596, "　５０ミリ秒"},
    {1601, "すべてのオプションの設定を推奨値に戻す"},
    {1611, "システムの言語に従う"},
    {1612, "日本語"},
    {1613, "English"},
    {1701, "使い方"},
    {1702, "作者のWebサイトへ"},
    {1703, "バージョン情報"},
};

constexpr MenuEntry Item(int id) { return MenuEntry{id, nullptr, {}}; }
constexpr MenuEntry Sep() { return MenuEntry{0, nullptr, {}}; }
constexpr MenuEntry Sub(const char* title, std::span<const MenuEntry> children) {
  return MenuEntry{0, title, children};
}

// --- Vk_MNU_MAIN ---
constexpr MenuEntry kFileMenu[] = {
    Item(1031), Item(1032), Item(1033), Sep(), Item(1011), Item(1012), Sep(),
    Item(1021), Item(1022), Sep(), Item(1041), Item(1042), Item(1043), Sep(),
    Item(1051), Sep(), Item(1052), Item(1053), Sep(), Item(1061),
};

constexpr MenuEntry kLyricsMenu[] = {
    Item(1261), Sep(), Item(1262), Item(1263), Sep(),
    Item(1264), Item(1265), Item(1266), Item(1267), Sep(),
    Item(1268), Item(1269), Item(1270), Item(1271), Sep(),
    Item(1272), Item(1273), Item(1274), Item(1275), Sep(),
    Item(1276), Item(1277), Item(1278), Item(1279),
};

constexpr MenuEntry kPictureItems[] = {
    Item(1211), Item(1212), Sep(), Item(1221), Item(1222), Item(1223), Item(1224), Sep(),
    Item(1231), Item(1232), Sep(), Item(1241), Item(1242), Sep(),
    Item(1251), Item(1252), Item(1253), Item(1254), Sep(),
    Sub("歌詞", kLyricsMenu), Item(1281),
};

constexpr MenuEntry kViewMenu[] = {
    Item(1201), Item(1202), Item(1203), Sep(),
    Item(1211), Item(1212), Sep(), Item(1221), Item(1222), Item(1223), Item(1224), Sep(),
    Item(1231), Item(1232), Sep(), Item(1241), Item(1242), Sep(),
    Item(1251), Item(1252), Item(1253), Item(1254), Sep(),
    Sub("歌詞", kLyricsMenu), Item(1281), Item(1282), Item(1283), Sep(),
    Item(1291), Item(1292), Item(1293), Item(1294), Item(1295),
};

// The window adds the file's markers after these, each with its own items.
constexpr MenuEntry kMarkerMenu[] = {Item(1371), Item(1372), Item(1373)};

constexpr MenuEntry kPlayMenu[] = {
    Item(1303), Item(1302), Item(1311), Item(1312), Sep(), Item(1001), Item(1002), Sep(),
    Item(1321), Item(1322), Sep(), Item(1333), Item(1334), Item(1335), Sep(),
    Item(1336), Item(1337), Sep(), Sub("マーカー(&M)", kMarkerMenu), Sep(),
    Item(1341), Item(1342), Item(1343), Item(1344), Item(1345), Sep(),
    Item(1351), Item(1352), Sep(), Item(1361), Item(1362),
};

constexpr MenuEntry kEffectsMenu[] = {
    Item(1401), Item(1402), Item(1403), Item(1404), Item(1405), Item(1406), Sep(),
    Item(1407), Item(1408), Item(1409), Sep(),
    Item(1411), Item(1412), Item(1413), Item(1414), Item(1415), Item(1416), Sep(),
    Item(1421), Sep(),
    Item(1431), Item(1432), Item(1433), Item(1434), Item(1435), Item(1436), Item(1441),
};

constexpr MenuEntry kNextPlayListMenu[] = {Item(1511), Item(1512), Item(1513)};
constexpr MenuEntry kMainPriorityMenu[] = {Item(1514), Item(1515), Item(1516)};
constexpr MenuEntry kWaveBufLenMenu[] = {Item(1521), Item(1522), Item(1523), Item(1524)};
constexpr MenuEntry kWaveBufNumMenu[] = {Item(1531), Item(1532), Item(1533), Item(1534), Item(1535)};
constexpr MenuEntry kPlayPriorityMenu[] = {Item(1541), Item(1542), Item(1543)};
constexpr MenuEntry kPlaySleepMenu[] = {Item(1551), Item(1552), Item(1553),
                                        Item(1554), Item(1555), Item(1556)};
constexpr MenuEntry kFftMenu[] = {Item(1571), Item(1572), Item(1573), Item(1574),
                                  Item(1575), Item(1576), Item(1577)};
constexpr MenuEntry kDrawPriorityMenu[] = {Item(1581), Item(1582), Item(1583)};
constexpr MenuEntry kDrawSleepMenu[] = {Item(1591), Item(1592), Item(1593),
                                        Item(1594), Item(1595), Item(1596)};

constexpr MenuEntry kLanguageMenu[] = {Item(1611), Item(1612), Item(1613)};

constexpr MenuEntry kOptionMenu[] = {
    Item(1501), Sep(),
    Sub("次回起動時のプレイリスト", kNextPlayListMenu),
    Sub("メインスレッドの優先順位", kMainPriorityMenu),
    Sub("ウェーブバッファ１個の長さ", kWaveBufLenMenu),
    Sub("ウェーブバッファの数", kWaveBufNumMenu),
    Sub("再生スレッドの優先順位", kPlayPriorityMenu),
    Sub("再生スレッドのスリープ時間", kPlaySleepMenu),
    Sub("FFTのサンプル数", kFftMenu),
    Sub("描画スレッドの優先順位", kDrawPriorityMenu),
    Sub("描画スレッドのスリープ時間", kDrawSleepMenu),
    Sep(), Sub("表示言語（次回起動時から）", kLanguageMenu),
    Sep(), Item(1601),
};

constexpr MenuEntry kHelpMenu[] = {Item(1701), Item(1702), Sep(), Item(1703)};

constexpr MenuEntry kMainBar[] = {
    Sub("ファイル(&F)", kFileMenu),   Sub("表示(&V)", kViewMenu),
    Sub("再生(&P)", kPlayMenu),       Sub("エフェクタ(&E)", kEffectsMenu),
    Sub("オプション(&O)", kOptionMenu), Sub("ヘルプ(&H)", kHelpMenu),
};

// --- pop-ups: each is the first sub-menu of its menu resource ---
constexpr MenuEntry kPlaylistPopup[] = {
    Item(1301), Item(1302), Sep(), Item(1021), Item(1022), Sep(),
    Item(1041), Item(1042), Item(1043), Sep(), Item(1032), Item(1033),
};
constexpr MenuEntry kSeekBarPopup[] = {Item(1331), Item(1332), Item(1333), Item(1334), Item(1335)};

constexpr MenuDef kMain{"Vk_MNU_MAIN", kMainBar};
constexpr MenuDef kPlaylist{"Vk_MNU_PLAYLIST", kPlaylistPopup};
constexpr MenuDef kSeekBar{"Vk_MNU_SEEKBAR", kSeekBarPopup};
constexpr MenuDef kBitmap{"Vk_MNU_BITMAP", kPictureItems};

constexpr CheckMark kChecks[] = {
    {1001, &S::RepeatOne}, {1002, &S::RepeatAll}, {1201, &S::TopMost},
    {1202, &S::MiniMode},  {1203, &S::MaxMode},   {1241, &S::GaugeDB},
    {1242, &S::GaugeHZ},   {1261, &S::LyricsLrcsOnOff}, {1281, &S::FrameRate}, {1282, &S::KeyMode},
    {1283, &S::KeysHeard},
    {1295, &S::AutoThres}, {1401, &S::TmstOnOff}, {1402, &S::PsftOnOff},
    {1403, &S::ToneOnOff}, {1404, &S::ChrsOnOff}, {1405, &S::DlayOnOff},
    {1406, &S::RvrbOnOff}, {1407, &S::TmstQuality}, {1408, &S::PsftQuality},
    {1409, &S::PsftFormant}, {1501, &S::ResetDevice}, {1336, &S::TrainOnOff},
};

constexpr RadioGroup kRadios[] = {
    {1211, 2, &S::BmpWndPos},
    {1221, 4, &S::BmpOctave},
    {1231, 2, &S::GrpType},
    {1251, 4, &S::PeakHold},
    {1262, 2, &S::LyricsWipeOnOff},
    {1264, 4, &S::LyricsNowBeforeTimeItem},
    {1268, 4, &S::LyricsNowAfterTimeItem},
    {1272, 4, &S::LyricsNowMinScrlTimeItem},
    {1276, 4, &S::LyricsNowGapTimeItem},
    {1341, 5, &S::ChannelSelect},
    {1411, 6, &S::EfctPage},
    {1511, 3, &S::NextPlayList},
    {1514, 3, &S::NowMainThreadPrortyItem},
    {1521, 4, &S::NowLenWaveBufItem},
    {1531, 5, &S::NowNumWaveBufItem},
    {1541, 3, &S::NowPlayThreadPrortyItem},
    {1551, 6, &S::NowPlayThreadSleepItem},
    {1571, 7, &S::NowNumFFTSmplItem},
    {1581, 3, &S::NowDrawThreadPrortyItem},
    {1591, 6, &S::NowDrawThreadSleepItem},
    {1611, 3, &S::Language},
};

constexpr SettingValue kRecommendOptions[] = {
    {&S::ResetDevice, 1},
    {&S::NextPlayList, 2},
    {&S::NowMainThreadPrortyItem, 2},
    {&S::NowLenWaveBufItem, 2},
    {&S::NowNumWaveBufItem, 3},
    {&S::NowPlayThreadPrortyItem, 2},
    {&S::NowPlayThreadSleepItem, 2},
    {&S::NowNumFFTSmplItem, 3},
    {&S::NowDrawThreadPrortyItem, 0},
    {&S::NowDrawThreadSleepItem, 3},
};

}  // namespace

const char* FindCommandLabel(int id) {
  for (const CommandLabel& c : kLabels) {
    if (c.id == id) return c.label;
  }
  return nullptr;
}

std::span<const CommandLabel> CommandLabels() { return kLabels; }

const MenuDef& MainMenu() { return kMain; }
const MenuDef& PlaylistMenu() { return kPlaylist; }
const MenuDef& SeekBarMenu() { return kSeekBar; }
const MenuDef& BitmapMenu() { return kBitmap; }

std::span<const CheckMark> CheckMarks() { return kChecks; }
std::span<const RadioGroup> RadioGroups() { return kRadios; }

const CheckMark* FindCheckMark(int id) {
  for (const CheckMark& c : kChecks) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

const RadioGroup* FindRadioGroup(int id) {
  for (const RadioGroup& g : kRadios) {
    if (id >= g.first && id < g.first + g.count) return &g;
  }
  return nullptr;
}

bool CommandChecked(int id, const Settings& s) {
  if (const CheckMark* c = FindCheckMark(id)) return s.*c->field != 0;
  if (const RadioGroup* g = FindRadioGroup(id)) return s.*g->field == id - g->first;
  return false;
}

std::span<const SettingValue> RecommendedValues(int id) {
  return id == cmd::kAllOptions ? std::span<const SettingValue>(kRecommendOptions)
                                : std::span<const SettingValue>();
}

// Whether the page's reset would change nothing, by the engine's own rule (the
// time stretch's reset also brings the speed back to its default).
static bool PageIsRecommended(int page, const Settings& s) {
  const auto effect = static_cast<EffectKind>(page);
  if (!EffectIsRecommended(s, effect)) return false;
  if (effect != EffectKind::kTimeStretch) return true;
  static const std::int32_t speed_default = FindSettingKey("Speed")->def;
  return s.Speed == speed_default;
}

bool ValuesHold(std::span<const SettingValue> values, const Settings& s) {
  for (const SettingValue& v : values) {
    if (s.*v.field != v.value) return false;
  }
  return true;
}

void ApplyValues(std::span<const SettingValue> values, Settings& s) {
  for (const SettingValue& v : values) s.*v.field = v.value;
}

bool CommandEnabled(int id, const Settings& s, const EnableState& state) {
  const bool ab_active = state.playing && state.repeat_a < state.repeat_b;
  switch (id) {
    case cmd::kMp3Diagnostics: return !state.playing;
    case cmd::kAAtClick:
    case cmd::kBAtClick:
    case cmd::kAAtNow:
    case cmd::kBAtNow: return state.playing;
    case cmd::kABOff: return ab_active;
    case cmd::kExportFile:
    case cmd::kMarkerSet:
    case cmd::kMarkerNext:
    case cmd::kMarkerPrev: return state.playing;
    case cmd::kExportAB: return ab_active;
    case cmd::kSearchNext:
    case cmd::kSearchPrev:
    case cmd::kMoveUp:
    case cmd::kMoveDown:
    case cmd::kRemoveSelected:
    case cmd::kRemovePlayed:
    case cmd::kClearPlaylist: return s.MiniMode == 0;
    case cmd::kThresDwUp:
    case cmd::kThresDwDown:
    case cmd::kThresUpUp:
    case cmd::kThresUpDown: return s.AutoThres != 1;
    case cmd::kRecommendAll:
      for (int page = 0; page < 6; ++page) {
        if (!PageIsRecommended(page, s)) return true;
      }
      return false;
    // Also while the tone control is off: choosing it switches the control on.
    case cmd::kVocalCancel: return !ToneIsVocalCancel(s) || s.ToneOnOff == 0;
    default: break;
  }
  if (id >= cmd::kRecommendTmst && id <= cmd::kRecommendTmst + 5) {
    return !PageIsRecommended(id - cmd::kRecommendTmst, s);
  }
  const std::span<const SettingValue> values = RecommendedValues(id);
  if (!values.empty()) return !ValuesHold(values, s);
  return true;
}

}  // namespace vk
