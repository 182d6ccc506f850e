#include "audio/Mp3Codes.h"
#include "audio/Mp3Reader.h"

namespace vk {

namespace {

// Indexed by open code; each text ends with its line feed because the open
// report ends with it as its last line.
constexpr const char* kTexts[] = {
    "このファイルに問題は見つかりませんでした。\n",
    "メモリ確保に失敗した。\n",
    "ファイルのオープンに失敗した。\n",
    "ファイルが途切れている。\n",
    "ファイルの現在位置の取得に失敗した。\n",
    "ファイルの現在位置の移動に失敗した。\n",
    "ファイルからの読み込みに失敗した。\n",
    "RIFFチャンクのサイズがおかしい。\n",
    "RIFFのフォームタイプがおかしいか、本システムがサポートしない。\n",
    "RIFFのフォーマットがおかしいか、本システムがサポートしない。\n",
    "RIFFのfmt チャンクが見つからなかった。\n",
    "RIFFのdataチャンクが見つからなかった。\n",
    "フォーマットがおかしい。\n",
    "ID3タグサイズがおかしい。\n",
    "MPEGのバージョン番号がおかしい。\n",
    "レイヤ番号がおかしい。\n",
    "ビットレートがおかしい。\n",
    "サンプリングレートがおかしい。\n",
    "本システムがサポートしないMPEGバージョン番号である。\n",
    "本システムがサポートしないビットレートである。\n",
    "本システムがサポートしないバージョン番号とビットレートの組み合わせである。\n",
    "可変MPEGバージョン番号になっている。\n",
    "可変レイヤ番号になっている。\n",
    "VBRヘッダがないのに可変ビットレートになっている。\n",
    "可変サンプリングレートになっている。\n",
    "可変チャネルモードになっている。\n",
    "VBR情報の各種フラグがおかしい。\n",
    "VBR情報のフレーム数がおかしい。\n",
    "VBR情報のデータサイズがおかしい。\n",
    "acmFormatSuggest()関数失敗。\n",
    "acmStreamOpen()関数失敗。\n",
};

}  // namespace

const char* Mp3ResultText(int code) {
  if (code < 0 || code >= static_cast<int>(sizeof kTexts / sizeof kTexts[0])) return kTexts[0];
  return kTexts[code];
}

}  // namespace vk
