<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- The window's English. The Japanese sources are the texts given to Tr() (ui/ShownText.h),
     all in the one context Velkaris. Kept by hand; a new message may go anywhere inside the context, and
     tests/shell/TranslationCompleteTest.cpp names every text without an entry. -->
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
<context>
    <name>Velkaris</name>
    <message>
        <source>%1
は既に存在します。
上書きしますか？</source>
        <translation>%1
already exists.
Overwrite it?</translation>
    </message>
    <message>
        <source>%1
を、これがMP3ファイルであるという前提で解析します。
ファイルの詳細情報をMP3OPEN.TXTに出力します。
また、MP3ファイルとしてのオープンに成功した場合は、
読み込み／デコード処理の詳細情報をMP3READ.TXTに出力します。
それぞれ音声ファイルと同じフォルダに出力します。
よろしいですか？</source>
        <translation>%1
will be analysed on the assumption that it is an MP3 file.
The details of the file are written to MP3OPEN.TXT.
If it opens as an MP3 file,
the details of reading and decoding are written to MP3READ.TXT.
Both are written into the audio file's folder.
Do you want to continue?</translation>
    </message>
    <message>
        <source>%1を出力しました。
</source>
        <translation>%1 has been written.
</translation>
    </message>
    <message>
        <source>FFTのサンプル数</source>
        <translation>FFT sample count</translation>
    </message>
    <message>
        <source>GNU GPL 3.0 以降の条件で配布される自由ソフトウェアです</source>
        <translation>Free software distributed under the GNU GPL 3.0 or later</translation>
    </message>
    <message>
        <source>MP3ファイル(*.mp3)</source>
        <translation>MP3 files (*.mp3)</translation>
    </message>
    <message>
        <source>MP3ファイル(*.rmp)</source>
        <translation>MP3 files (*.rmp)</translation>
    </message>
    <message>
        <source>MP3ファイルを解析しています。</source>
        <translation>Analysing the MP3 file.</translation>
    </message>
    <message>
        <source>MP3ファイル診断</source>
        <translation>MP3 file diagnostics</translation>
    </message>
    <message>
        <source>WAVEサウンドファイル(*.wav)</source>
        <translation>WAVE sound files (*.wav)</translation>
    </message>
    <message>
        <source>[×0.1Hz]</source>
        <translation>[×0.1Hz]</translation>
    </message>
    <message>
        <source>　　１ミリ秒</source>
        <translation>1 ms</translation>
    </message>
    <message>
        <source>　　２ミリ秒</source>
        <translation>2 ms</translation>
    </message>
    <message>
        <source>　　５ミリ秒</source>
        <translation>5 ms</translation>
    </message>
    <message>
        <source>　　５ミリ秒（推奨）</source>
        <translation>5 ms (recommended)</translation>
    </message>
    <message>
        <source>　１個</source>
        <translation>1</translation>
    </message>
    <message>
        <source>　１０ミリ秒</source>
        <translation>10 ms</translation>
    </message>
    <message>
        <source>　１０ミリ秒（推奨）</source>
        <translation>10 ms (recommended)</translation>
    </message>
    <message>
        <source>　１０２４</source>
        <translation>1024</translation>
    </message>
    <message>
        <source>　２個</source>
        <translation>2</translation>
    </message>
    <message>
        <source>　２０ミリ秒</source>
        <translation>20 ms</translation>
    </message>
    <message>
        <source>　２０４８</source>
        <translation>2048</translation>
    </message>
    <message>
        <source>　４個</source>
        <translation>4</translation>
    </message>
    <message>
        <source>　４０９６</source>
        <translation>4096</translation>
    </message>
    <message>
        <source>　５０ミリ秒</source>
        <translation>50 ms</translation>
    </message>
    <message>
        <source>　６オクターブ</source>
        <translation>6 octaves</translation>
    </message>
    <message>
        <source>　８オクターブ</source>
        <translation>8 octaves</translation>
    </message>
    <message>
        <source>　８個（推奨）</source>
        <translation>8 (recommended)</translation>
    </message>
    <message>
        <source>　８１９２（推奨）</source>
        <translation>8192 (recommended)</translation>
    </message>
    <message>
        <source>このファイルは本ソフトで開くことができません。</source>
        <translation>This file cannot be opened by this program.</translation>
    </message>
    <message>
        <source>すべてのエフェクタの設定を推奨値に戻す</source>
        <translation>Reset all effects to recommended values</translation>
    </message>
    <message>
        <source>すべてのオプションの設定を推奨値に戻す</source>
        <translation>Reset all options to recommended values</translation>
    </message>
    <message>
        <source>すべてのファイル(*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
    <message>
        <source>ウェーブバッファの数</source>
        <translation>Number of wave buffers</translation>
    </message>
    <message>
        <source>ウェーブバッファ１個の長さ</source>
        <translation>Length of one wave buffer</translation>
    </message>
    <message>
        <source>ウェーブ出力デバイスをオープンできません。</source>
        <translation>The wave output device cannot be opened.</translation>
    </message>
    <message>
        <source>エフェクタ(&amp;E)</source>
        <translation>&amp;Effects</translation>
    </message>
    <message>
        <source>エラーNo.%d</source>
        <translation>Error No. %d</translation>
    </message>
    <message>
        <source>オプション(&amp;O)</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>カラオケタグ付き歌詞をワイプ表示</source>
        <translation>Karaoke-tagged lyrics: wipe</translation>
    </message>
    <message>
        <source>カラオケタグ付き歌詞を固定表示</source>
        <translation>Karaoke-tagged lyrics: fixed</translation>
    </message>
    <message>
        <source>コーラス</source>
        <translation>Chorus</translation>
    </message>
    <message>
        <source>コーラスの設定を推奨値に戻す</source>
        <translation>Reset chorus to recommended values</translation>
    </message>
    <message>
        <source>コーラス設定ページ</source>
        <translation>Chorus settings page</translation>
    </message>
    <message>
        <source>システムの言語に従う</source>
        <translation>Follow the system language</translation>
    </message>
    <message>
        <source>スクロールが終了してから：　　　０ミリ秒</source>
        <translation>After scrolling ends: 0 ms</translation>
    </message>
    <message>
        <source>スクロールが終了してから：１０００ミリ秒</source>
        <translation>After scrolling ends: 1000 ms</translation>
    </message>
    <message>
        <source>スクロールが終了してから：２０００ミリ秒</source>
        <translation>After scrolling ends: 2000 ms</translation>
    </message>
    <message>
        <source>スクロールが終了してから：４０００ミリ秒</source>
        <translation>After scrolling ends: 4000 ms</translation>
    </message>
    <message>
        <source>スクロールが開始するまで：　　　０ミリ秒</source>
        <translation>Before scrolling starts: 0 ms</translation>
    </message>
    <message>
        <source>スクロールが開始するまで：１０００ミリ秒</source>
        <translation>Before scrolling starts: 1000 ms</translation>
    </message>
    <message>
        <source>スクロールが開始するまで：２０００ミリ秒</source>
        <translation>Before scrolling starts: 2000 ms</translation>
    </message>
    <message>
        <source>スクロールが開始するまで：４０００ミリ秒</source>
        <translation>Before scrolling starts: 4000 ms</translation>
    </message>
    <message>
        <source>スペクトラム波形：折れ線グラフ</source>
        <translation>Spectrum: line graph</translation>
    </message>
    <message>
        <source>スペクトラム波形：棒グラフ</source>
        <translation>Spectrum: bar graph</translation>
    </message>
    <message>
        <source>タイムストレッチ</source>
        <translation>Time stretch</translation>
    </message>
    <message>
        <source>タイムストレッチの設定を推奨値に戻す</source>
        <translation>Reset time stretch to recommended values</translation>
    </message>
    <message>
        <source>タイムストレッチ設定ページ</source>
        <translation>Time stretch settings page</translation>
    </message>
    <message>
        <source>チャネル選択 Ｌ</source>
        <translation>Channels: L</translation>
    </message>
    <message>
        <source>チャネル選択 Ｌ・Ｒ</source>
        <translation>Channels: L, R</translation>
    </message>
    <message>
        <source>チャネル選択 Ｌ＋Ｒ</source>
        <translation>Channels: L+R</translation>
    </message>
    <message>
        <source>チャネル選択 Ｌ－Ｒ</source>
        <translation>Channels: L-R</translation>
    </message>
    <message>
        <source>チャネル選択 Ｒ</source>
        <translation>Channels: R</translation>
    </message>
    <message>
        <source>ディレイ</source>
        <translation>Delay</translation>
    </message>
    <message>
        <source>ディレイの設定を推奨値に戻す</source>
        <translation>Reset delay to recommended values</translation>
    </message>
    <message>
        <source>ディレイ設定ページ</source>
        <translation>Delay settings page</translation>
    </message>
    <message>
        <source>トーンコントロール</source>
        <translation>Tone control</translation>
    </message>
    <message>
        <source>トーンコントロールの設定を推奨値に戻す</source>
        <translation>Reset tone control to recommended values</translation>
    </message>
    <message>
        <source>トーンコントロール設定ページ</source>
        <translation>Tone control settings page</translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation>About Velkaris</translation>
    </message>
    <message>
        <source>ピッチシフト</source>
        <translation>Pitch shift</translation>
    </message>
    <message>
        <source>ピッチシフトの設定を推奨値に戻す</source>
        <translation>Reset pitch shift to recommended values</translation>
    </message>
    <message>
        <source>ピッチシフト設定ページ</source>
        <translation>Pitch shift settings page</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>ファイルから読み込みできません。</source>
        <translation>The file cannot be read.</translation>
    </message>
    <message>
        <source>ファイルをオープンできません。</source>
        <translation>The file cannot be opened.</translation>
    </message>
    <message>
        <source>フレームレート</source>
        <translation>Frame rate</translation>
    </message>
    <message>
        <source>プレイリストから削除(Delete)</source>
        <translation>Remove from playlist (Delete)</translation>
    </message>
    <message>
        <source>プレイリストがすでに満杯です。</source>
        <translation>The playlist is already full.</translation>
    </message>
    <message>
        <source>プレイリストが満杯になりました。</source>
        <translation>The playlist is now full.</translation>
    </message>
    <message>
        <source>プレイリストにおいて前のファイルを検索</source>
        <translation>Find previous file in playlist</translation>
    </message>
    <message>
        <source>プレイリストにおいて次のファイルを検索</source>
        <translation>Find next file in playlist</translation>
    </message>
    <message>
        <source>プレイリストに追加(&amp;A)...</source>
        <translation>&amp;Add to playlist...</translation>
    </message>
    <message>
        <source>プレイリストのファイルを１つ上に移動(Ctrl+↑)</source>
        <translation>Move file up in playlist (Ctrl+↑)</translation>
    </message>
    <message>
        <source>プレイリストのファイルを１つ下に移動(Ctrl+↓)</source>
        <translation>Move file down in playlist (Ctrl+↓)</translation>
    </message>
    <message>
        <source>プレイリストをクリア</source>
        <translation>Clear playlist</translation>
    </message>
    <message>
        <source>プレイリストを復元しています。</source>
        <translation>Restoring the playlist.</translation>
    </message>
    <message>
        <source>プレイリストファイル(*.m3u)</source>
        <translation>Playlist files (*.m3u)</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>ボーカルキャンセルに適した設定にする</source>
        <translation>Settings for vocal cancelling</translation>
    </message>
    <message>
        <source>メインスレッドの優先順位</source>
        <translation>Main thread priority</translation>
    </message>
    <message>
        <source>メディアが書き込み可能であれば出力したはずです。</source>
        <translation>They have been written if the medium is writable.</translation>
    </message>
    <message>
        <source>メモリが足りません。</source>
        <translation>There is not enough memory.</translation>
    </message>
    <message>
        <source>リバーブ</source>
        <translation>Reverb</translation>
    </message>
    <message>
        <source>リバーブの設定を推奨値に戻す</source>
        <translation>Reset reverb to recommended values</translation>
    </message>
    <message>
        <source>リバーブ設定ページ</source>
        <translation>Reverb settings page</translation>
    </message>
    <message>
        <source>レベルメータのピークホールド：なし</source>
        <translation>Level meter peak hold: none</translation>
    </message>
    <message>
        <source>レベルメータのピークホールド：１秒</source>
        <translation>Level meter peak hold: 1 s</translation>
    </message>
    <message>
        <source>レベルメータのピークホールド：２秒</source>
        <translation>Level meter peak hold: 2 s</translation>
    </message>
    <message>
        <source>レベルメータのピークホールド：５秒</source>
        <translation>Level meter peak hold: 5 s</translation>
    </message>
    <message>
        <source>上側[dB]</source>
        <translation>HIGH[dB]</translation>
    </message>
    <message>
        <source>下側[dB]</source>
        <translation>LOW[dB]</translation>
    </message>
    <message>
        <source>中断</source>
        <translation>Abort</translation>
    </message>
    <message>
        <source>今右クリックした位置をＡ点に設定</source>
        <translation>Set point A at the right-clicked position</translation>
    </message>
    <message>
        <source>今右クリックした位置をＢ点に設定</source>
        <translation>Set point B at the right-clicked position</translation>
    </message>
    <message>
        <source>作者のWebサイトへ</source>
        <translation>The author's web site</translation>
    </message>
    <message>
        <source>使い方</source>
        <translation>How to use</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>光る鍵盤のしきい値を自動調整</source>
        <translation>Adjust the thresholds of lit keys automatically</translation>
    </message>
    <message>
        <source>光る鍵盤の上側しきい値を上げる</source>
        <translation>Raise the upper threshold of lit keys</translation>
    </message>
    <message>
        <source>光る鍵盤の上側しきい値を下げる</source>
        <translation>Lower the upper threshold of lit keys</translation>
    </message>
    <message>
        <source>光る鍵盤の下側しきい値を上げる</source>
        <translation>Raise the lower threshold of lit keys</translation>
    </message>
    <message>
        <source>光る鍵盤の下側しきい値を下げる</source>
        <translation>Lower the lower threshold of lit keys</translation>
    </message>
    <message>
        <source>全曲リピート</source>
        <translation>Repeat all</translation>
    </message>
    <message>
        <source>再生(&amp;P)</source>
        <translation>&amp;Play</translation>
    </message>
    <message>
        <source>再生(Enter)</source>
        <translation>Play (Enter)</translation>
    </message>
    <message>
        <source>再生を停止し、すべてのファイルをプレイリストから削除します。
よろしいですか？</source>
        <translation>Playback will stop and all files will be removed from the playlist.
Do you want to continue?</translation>
    </message>
    <message>
        <source>再生スレッドのスリープ時間</source>
        <translation>Play thread sleep time</translation>
    </message>
    <message>
        <source>再生スレッドの優先順位</source>
        <translation>Play thread priority</translation>
    </message>
    <message>
        <source>再生中のファイルより上にあるファイルすべてをプレイリストから削除します。
よろしいですか？</source>
        <translation>All files above the playing file will be removed from the playlist.
Do you want to continue?</translation>
    </message>
    <message>
        <source>再生終了したファイルをプレイリストから削除</source>
        <translation>Remove finished files from playlist</translation>
    </message>
    <message>
        <source>再生速度 増加</source>
        <translation>Speed up</translation>
    </message>
    <message>
        <source>再生速度 減少</source>
        <translation>Speed down</translation>
    </message>
    <message>
        <source>再生／一時停止</source>
        <translation>Play / Pause</translation>
    </message>
    <message>
        <source>初期化</source>
        <translation>Empty</translation>
    </message>
    <message>
        <source>前へ</source>
        <translation>Previous</translation>
    </message>
    <message>
        <source>名前を付けてプレイリストを保存</source>
        <translation>Save the playlist as</translation>
    </message>
    <message>
        <source>名前を付けてプレイリストを保存(&amp;S)...</source>
        <translation>&amp;Save playlist as...</translation>
    </message>
    <message>
        <source>周波数ゲージ</source>
        <translation>Frequency gauge</translation>
    </message>
    <message>
        <source>左右バランス 右へ</source>
        <translation>Balance to the right</translation>
    </message>
    <message>
        <source>左右バランス 左へ</source>
        <translation>Balance to the left</translation>
    </message>
    <message>
        <source>常に手前に表示</source>
        <translation>Always on top</translation>
    </message>
    <message>
        <source>描画スレッドのスリープ時間</source>
        <translation>Draw thread sleep time</translation>
    </message>
    <message>
        <source>描画スレッドの優先順位</source>
        <translation>Draw thread priority</translation>
    </message>
    <message>
        <source>日本語</source>
        <translation>日本語 (Japanese)</translation>
    </message>
    <message>
        <source>最低スクロール期間：　　　０ミリ秒</source>
        <translation>Minimum scroll time: 0 ms</translation>
    </message>
    <message>
        <source>最低スクロール期間：１０００ミリ秒</source>
        <translation>Minimum scroll time: 1000 ms</translation>
    </message>
    <message>
        <source>最低スクロール期間：２０００ミリ秒</source>
        <translation>Minimum scroll time: 2000 ms</translation>
    </message>
    <message>
        <source>最低スクロール期間：４０００ミリ秒</source>
        <translation>Minimum scroll time: 4000 ms</translation>
    </message>
    <message>
        <source>最大限モード</source>
        <translation>Max mode</translation>
    </message>
    <message>
        <source>最小限モード</source>
        <translation>Mini mode</translation>
    </message>
    <message>
        <source>本ソフトで開くことのできないファイルがあります。</source>
        <translation>Some files cannot be opened by this program.</translation>
    </message>
    <message>
        <source>本ソフトで開くことのできるファイルが１つもありません。</source>
        <translation>None of the files can be opened by this program.</translation>
    </message>
    <message>
        <source>検索</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>標準</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>標準より１ポイント高く</source>
        <translation>One step above normal</translation>
    </message>
    <message>
        <source>標準より２ポイント高く</source>
        <translation>Two steps above normal</translation>
    </message>
    <message>
        <source>標準より２ポイント高く（推奨）</source>
        <translation>Two steps above normal (recommended)</translation>
    </message>
    <message>
        <source>標準（推奨）</source>
        <translation>Normal (recommended)</translation>
    </message>
    <message>
        <source>次へ</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>次回起動時のプレイリスト</source>
        <translation>Playlist at next start</translation>
    </message>
    <message>
        <source>歌詞</source>
        <translation>Lyrics</translation>
    </message>
    <message>
        <source>歌詞を表示</source>
        <translation>Show lyrics</translation>
    </message>
    <message>
        <source>現在の再生位置をＡ点に設定</source>
        <translation>Set point A at the current position</translation>
    </message>
    <message>
        <source>現在の再生位置をＢ点に設定</source>
        <translation>Set point B at the current position</translation>
    </message>
    <message>
        <source>画像ウィンドウを右側に表示</source>
        <translation>Picture window on the right</translation>
    </message>
    <message>
        <source>画像ウィンドウを左側に表示</source>
        <translation>Picture window on the left</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>終了時の状態と再生位置を復元（推奨）</source>
        <translation>Restore the list and play position at exit (recommended)</translation>
    </message>
    <message>
        <source>終了時の状態を復元</source>
        <translation>Restore the list at exit</translation>
    </message>
    <message>
        <source>行間ギャップ期間：　　０ミリ秒</source>
        <translation>Gap between lines: 0 ms</translation>
    </message>
    <message>
        <source>行間ギャップ期間：　５０ミリ秒</source>
        <translation>Gap between lines: 50 ms</translation>
    </message>
    <message>
        <source>行間ギャップ期間：１００ミリ秒</source>
        <translation>Gap between lines: 100 ms</translation>
    </message>
    <message>
        <source>行間ギャップ期間：２００ミリ秒</source>
        <translation>Gap between lines: 200 ms</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>表示言語（次回起動時から）</source>
        <translation>Interface language (from the next start)</translation>
    </message>
    <message>
        <source>解析が終了しました。
</source>
        <translation>The analysis is finished.
</translation>
    </message>
    <message>
        <source>設定を変えるたびにデバイスをリセット（推奨）</source>
        <translation>Reset the device on every change (recommended)</translation>
    </message>
    <message>
        <source>選択されているファイルをプレイリストから削除します。
よろしいですか？</source>
        <translation>The selected files will be removed from the playlist.
Do you want to continue?</translation>
    </message>
    <message>
        <source>鍵盤に演奏中の音を表示(N)</source>
        <translation>Show the notes being played on the keys (N)</translation>
    </message>
    <message>
        <source>開く(&amp;O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>音声ファイル</source>
        <translation>Audio files</translation>
    </message>
    <message>
        <source>音声ファイルをプレイリストに追加</source>
        <translation>Add an audio file to the playlist</translation>
    </message>
    <message>
        <source>音声ファイルをプレイリストに追加しています。</source>
        <translation>Adding audio files to the playlist.</translation>
    </message>
    <message>
        <source>音声ファイルを開く</source>
        <translation>Open an audio file</translation>
    </message>
    <message>
        <source>音量 上げる</source>
        <translation>Volume up</translation>
    </message>
    <message>
        <source>音量 下げる</source>
        <translation>Volume down</translation>
    </message>
    <message>
        <source>音量ゲージ</source>
        <translation>Level gauge</translation>
    </message>
    <message>
        <source>鳴っている音程を鍵盤に映すオーディオプレーヤー</source>
        <translation>An audio player that shows the pitches sounding on a piano keyboard</translation>
    </message>
    <message>
        <source>１曲リピート</source>
        <translation>Repeat one</translation>
    </message>
    <message>
        <source>１０オクターブ</source>
        <translation>10 octaves</translation>
    </message>
    <message>
        <source>１００ミリ秒</source>
        <translation>100 ms</translation>
    </message>
    <message>
        <source>１２オクターブ</source>
        <translation>12 octaves</translation>
    </message>
    <message>
        <source>１６個</source>
        <translation>16</translation>
    </message>
    <message>
        <source>１６３８４</source>
        <translation>16384</translation>
    </message>
    <message>
        <source>２００ミリ秒</source>
        <translation>200 ms</translation>
    </message>
    <message>
        <source>３２７６８</source>
        <translation>32768</translation>
    </message>
    <message>
        <source>４００ミリ秒（推奨）</source>
        <translation>400 ms (recommended)</translation>
    </message>
    <message>
        <source>６５５３６</source>
        <translation>65536</translation>
    </message>
    <message>
        <source>８００ミリ秒</source>
        <translation>800 ms</translation>
    </message>
    <message>
        <source>Ａ－Ｂ間リピートを解除</source>
        <translation>Cancel A-B repeat</translation>
    </message>
    <message>
        <source>［‰］</source>
        <translation>[‰]</translation>
    </message>
    <message>
        <source>［％］</source>
        <translation>[%]</translation>
    </message>
    <message>
        <source>書き出せませんでした。</source>
        <translation>The export failed.</translation>
    </message>
    <message>
        <source>再生するファイルには書き出せません。</source>
        <translation>Cannot export onto the file being played.</translation>
    </message>
    <message>
        <source>ファイルに書き込めませんでした。</source>
        <translation>The file could not be written.</translation>
    </message>
    <message>
        <source>エフェクトを付けて書き出し</source>
        <translation>Export with effects</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>書き出し中… 0 ％</source>
        <translation>Exporting… 0 %</translation>
    </message>
    <message>
        <source>書き出し中… %1 ％</source>
        <translation>Exporting… %1 %</translation>
    </message>
    <message>
        <source>　残り時間 %1</source>
        <translation>  Time left %1</translation>
    </message>
    <message>
        <source>ほか %1 件</source>
        <translation>and %1 more</translation>
    </message>
    <message>
        <source>マニュアルが見つかりません。
</source>
        <translation>The manual cannot be found.
</translation>
    </message>
    <message>
        <source>ヘルプ - </source>
        <translation>Help - </translation>
    </message>
    <message>
        <source>ブラウザを開けませんでした。
</source>
        <translation>The web browser could not be opened.
</translation>
    </message>
    <message>
        <source>マーカーを保存できませんでした。</source>
        <translation>The markers could not be saved.</translation>
    </message>
    <message>
        <source>マーカーの名前</source>
        <translation>Marker name</translation>
    </message>
    <message>
        <source>名前：</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>マーカー%1</source>
        <translation>Marker %1</translation>
    </message>
    <message>
        <source>ここへ移動</source>
        <translation>Jump here</translation>
    </message>
    <message>
        <source>名前を変更...</source>
        <translation>Rename...</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>ここから次のマーカーまでＡ－Ｂ間リピート</source>
        <translation>A-B from this marker to the next</translation>
    </message>
    <message>
        <source>ループトレーナーの設定</source>
        <translation>Loop trainer settings</translation>
    </message>
    <message>
        <source>開始速度（％）：</source>
        <translation>Start speed (%):</translation>
    </message>
    <message>
        <source>上げる幅（％）：</source>
        <translation>Step (%):</translation>
    </message>
    <message>
        <source>上げる間隔（回）：</source>
        <translation>Raise every (passes):</translation>
    </message>
    <message>
        <source>終了速度（％）：</source>
        <translation>End speed (%):</translation>
    </message>
    <message>
        <source>回の間の休み（ミリ秒）：</source>
        <translation>Pause between passes (ms):</translation>
    </message>
    <message>
        <source>書き出し中です。終わるまでお待ちください。</source>
        <translation>An export is running. Please wait until it finishes.</translation>
    </message>
    <message>
        <source>Ａ－Ｂ間の書き出し</source>
        <translation>Export the A-B range</translation>
    </message>
    <message>
        <source>繰り返す回数：</source>
        <translation>Number of passes:</translation>
    </message>
    <message>
        <source>WAVファイル (*.wav);;FLACファイル (*.flac)</source>
        <translation>WAV files (*.wav);;FLAC files (*.flac)</translation>
    </message>
    <message>
        <source>ファイルが見つかりません。
</source>
        <translation>File not found.
</translation>
    </message>
    <message>
        <source>プレイリストを保存できませんでした。
</source>
        <translation>The playlist could not be saved.
</translation>
    </message>
    <message>
        <source>設定を保存できませんでした。
</source>
        <translation>The settings could not be saved.
</translation>
    </message>
    <message>
        <source>再試行</source>
        <translation>Retry</translation>
    </message>
    <message>
        <source>保存せずに終了</source>
        <translation>Quit without saving</translation>
    </message>
    <message>
        <source>ここに音楽ファイルやフォルダをドロップしてください。
または、デモ曲を開いてください。</source>
        <translation>Drop music files or folders here,
or open the demo song.</translation>
    </message>
    <message>
        <source>デモ曲を開く</source>
        <translation>Open the demo song</translation>
    </message>
    <message>
        <source>ここに音楽ファイルやフォルダをドロップしてください。</source>
        <translation>Drop music files or folders here.</translation>
    </message>
    <message>
        <source>ファイルが見つかりません</source>
        <translation>File not found</translation>
    </message>
    <message>
        <source>エフェクトを付けて書き出し...</source>
        <translation>export with effects...</translation>
    </message>
    <message>
        <source>Ａ－Ｂ間をエフェクトを付けて書き出し...</source>
        <translation>Export only the A-B range with effects...</translation>
    </message>
    <message>
        <source>聴こえる音（エフェクト後）から鍵盤を光らせる</source>
        <translation>Keys from what is heard (after effects)</translation>
    </message>
    <message>
        <source>ループトレーナー</source>
        <translation>Loop trainer</translation>
    </message>
    <message>
        <source>ループトレーナーの設定...</source>
        <translation>Loop trainer settings...</translation>
    </message>
    <message>
        <source>現在の再生位置にマーカーを設定(M)</source>
        <translation>Set a marker at the heard position (M)</translation>
    </message>
    <message>
        <source>次のマーカーへ(])</source>
        <translation>Next marker (])</translation>
    </message>
    <message>
        <source>前のマーカーへ([)</source>
        <translation>Previous marker ([)</translation>
    </message>
    <message>
        <source>マーカー(&amp;M)</source>
        <translation>&amp;Markers</translation>
    </message>
    <message>
        <source>高音質タイムストレッチ</source>
        <translation>High-quality time stretch</translation>
    </message>
    <message>
        <source>高音質ピッチシフト</source>
        <translation>High-quality pitch shift</translation>
    </message>
    <message>
        <source>ピッチシフトでフォルマントを保つ</source>
        <translation>Keep formants when pitch shifting</translation>
    </message>
</context>
</TS>
