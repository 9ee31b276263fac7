#include "settings/catalogue.h"

#include <algorithm>
#include <array>
#include <limits>

namespace quorel::settings {

namespace {

// Each row: key, form, clamp, default, comment(s), flags. The comments are
// written exactly as existing stations write them, typos included: readers
// ignore them, but people compare files line by line.
const Row kRows[] = {
    {121, Form::Shown, Clamp::None, "８人モニター非表示", "初期化時間のため先頭に書く（バグ対策）",
     nullptr, nullptr, 0}, // 8-person monitor window shown
    {0, Form::Int, Clamp::Geometry, "480", "ウィンドウの高さ", nullptr, nullptr,
     0}, // main window height
    {1, Form::Int, Clamp::Geometry, "640", "メインウィンドの幅", nullptr, nullptr,
     0}, // main window width
    {2, Form::Int, Clamp::Geometry, "0", "メインウィンドの縦位置", nullptr, nullptr,
     0}, // main window top
    {3, Form::Int, Clamp::Geometry, "0", "メインウィンドの横位置", nullptr, nullptr,
     0}, // main window left
    {4, Form::Int, Clamp::Lines, "6", "マニュアル調整の表示行数", nullptr, nullptr,
     0}, // display line count for manual adjustment
    {6, Form::Int, Clamp::AtLeastOne, "2",
     "マニュアル設定のスクロール速度 ＜注意＞００５の前に００６を書く事！", nullptr, nullptr,
     0}, // writer
    {5, Form::Int, Clamp::AtLeastOne, "60", "マニュアル調整の行間", nullptr, nullptr,
     0}, // line spacing in dots for manual adjustment
    {7, Form::Font, Clamp::None, "ＭＳ Ｐゴシック", "表示部のフォントの種類", nullptr, nullptr,
     0}, // display font name
    {8, Form::Colour, Clamp::None, "-2147483640", "表示部のフォントの色", nullptr, nullptr,
     0}, // display font colour
    {9, Form::Int, Clamp::FontSize, "36", "表示部のフォントサイズ", nullptr, nullptr,
     0}, // display font size
    {10, Form::Colour, Clamp::None, "16777215", "表示部の背景色", nullptr, nullptr,
     0}, // display background colour
    {12, Form::Int, Clamp::Geometry, "47", "パネルの大きさ＜注意＞０１１の前に０１２を書く事！",
     nullptr, nullptr, kSkipFrameless}, // height of the input/monitor panel Panel1
    {11, Form::Int, Clamp::Geometry, "2", "入力・モニター部のせっと・何人入力？", nullptr, nullptr,
     kSkipFrameless}, // number of input persons
    {13, Form::Int, Clamp::FontSize, "11", "モニター部のフォントサイズ", nullptr, nullptr,
     0}, // monitor part font size
    {14, Form::Int, Clamp::Geometry, "23", "モニター部の高さ", nullptr, nullptr,
     0}, // monitor part height
    {15, Form::Int, Clamp::Geometry, "50", "モニター部の左位置", nullptr, nullptr,
     kSkipFrameless}, // monitor part left
    {16, Form::Int, Clamp::FontSize, "11", "入力部のフォントサイズ", nullptr, nullptr,
     0}, // input part font size
    {17, Form::Int, Clamp::Geometry, "23", "入力部の高さ", nullptr, nullptr,
     0}, // input part height
    {18, Form::Int, Clamp::Geometry, "26", "入力部の上下位置", nullptr, nullptr,
     0}, // input part top
    {19, Form::Int, Clamp::Geometry, "0", "入力部の左右位置", nullptr, nullptr,
     0}, // input part left
    {20, Form::Int, Clamp::Geometry, "26", "「ワ」ボタンの高さ", nullptr, nullptr,
     0}, // height of Button12
    {21, Form::Int, Clamp::Geometry, "26", "「再」ボタンの高さ", nullptr, nullptr,
     0}, // height of Button13
    {22, Form::Int, Clamp::Geometry, "26", "「送」ボタンの高さ", nullptr, nullptr,
     0}, // height of Button14
    {23, Form::Colour, Clamp::None, "-2147483643", "入力部の背景色", nullptr, nullptr,
     0}, // input part background
    {24, Form::Colour, Clamp::None, "-2147483643", "モニター部の背景色", nullptr, nullptr,
     0}, // monitor part background
    {25, Form::Int, Clamp::Geometry, "0", "ワープロ画面かスムーズ画面かのフラッグ", nullptr,
     nullptr, kSkipFrameless}, // screen kind
    {26, Form::Font, Clamp::None, "ＭＳ Ｐゴシック", "入力部のフォント", nullptr, nullptr,
     0}, // input part font name
    {27, Form::Colour, Clamp::None, "-2147483640", "入力部のフォント色", nullptr, nullptr,
     0}, // input part font colour
    {28, Form::Font, Clamp::None, "ＭＳ Ｐゴシック", "モニター部のフォント", nullptr, nullptr,
     0}, // monitor part font name
    {29, Form::Colour, Clamp::None, "-2147483640", "モニター部のフォント色", nullptr, nullptr,
     0}, // monitor part font colour
    {30, Form::Placeholder, Clamp::None, "未使用", nullptr, nullptr, nullptr,
     0}, // placeholder line "030
    {31, Form::Text, Clamp::None, "15", "スクロール：loop停止までの回数", nullptr, nullptr,
     0}, // loop count box Edit10
    {32, Form::Text, Clamp::None, "30", "スクロール：スクロールインターバル", nullptr, nullptr,
     0}, // scroll interval in ms
    {33, Form::Text, Clamp::None, "5", "スクロール：加速する未表示行数", nullptr, nullptr,
     0}, // undisplayed-line count at which scrolling accelerates
    {34, Form::Text, Clamp::None, "2", "スクロール：加速の倍率", nullptr, nullptr,
     0}, // acceleration factor
    {35, Form::OnOff, Clamp::None, "on", "スクロール：加速の有無", nullptr, nullptr,
     0}, // automatic scroll acceleration
    {36, Form::Colour, Clamp::None, "16711680", "変換中文字色", nullptr, nullptr,
     0}, // input-method conversion colour
    {37, Form::Colour, Clamp::None, "16777215", "変換中文字色（背景色）", nullptr, nullptr,
     0}, // input-method conversion colour
    {38, Form::OnOff, Clamp::None, "off", "改行の連結の有無", nullptr, nullptr,
     0}, // "Line feed only by null line."
    {39, Form::Text, Clamp::None, "", "発言者名", nullptr, nullptr,
     0}, // speaker name inserted on Enter
    {40, Form::Text, Clamp::None, "", "ファンクションキー１", nullptr, nullptr,
     0}, // F-key memo text for F1
    {41, Form::Text, Clamp::None, "", "ファンクションキー２", nullptr, nullptr,
     0}, // F-key memo text for F2
    {42, Form::Text, Clamp::None, "", "ファンクションキー３", nullptr, nullptr,
     0}, // F-key memo text for F3
    {43, Form::Text, Clamp::None, "", "ファンクションキー４", nullptr, nullptr,
     0}, // F-key memo text for F4
    {44, Form::Text, Clamp::None, "", "ファンクションキー５", nullptr, nullptr,
     0}, // F-key memo text for F5
    {45, Form::Text, Clamp::None, "", "ファンクションキー６", nullptr, nullptr,
     0}, // F-key memo text for F6
    {46, Form::Text, Clamp::None, "", "ファンクションキー７", nullptr, nullptr,
     0}, // F-key memo text for F7
    {47, Form::Text, Clamp::None, "", "ファンクションキー８", nullptr, nullptr,
     0}, // F-key memo text for F8
    {48, Form::Text, Clamp::None, "", "ファンクションキー１１", nullptr, nullptr,
     0}, // F-key memo text for F11
    {49, Form::OnOff, Clamp::None, "off", "ファンクションキー１チェックボクックス", nullptr,
     nullptr, 0}, // F-key memo check for F1
    {50, Form::OnOff, Clamp::None, "off", "ファンクションキー2チェックボクックス", nullptr, nullptr,
     0}, // F-key memo check for F2
    {51, Form::OnOff, Clamp::None, "off", "ファンクションキー3チェックボクックス", nullptr, nullptr,
     0}, // F-key memo check for F3
    {52, Form::OnOff, Clamp::None, "off", "ファンクションキー4チェックボクックス", nullptr, nullptr,
     0}, // F-key memo check for F4
    {53, Form::OnOff, Clamp::None, "off", "ファンクションキー5チェックボクックス", nullptr, nullptr,
     0}, // F-key memo check for F5
    {54, Form::OnOff, Clamp::None, "off", "ファンクションキー6チェックボクックス", nullptr, nullptr,
     0}, // F-key memo check for F6
    {55, Form::OnOff, Clamp::None, "off", "ファンクションキー7チェックボクックス", nullptr, nullptr,
     0}, // F-key memo check for F7
    {56, Form::OnOff, Clamp::None, "off", "ファンクションキー8チェックボクックス", nullptr, nullptr,
     0}, // F-key memo check for F8
    {57, Form::OnOff, Clamp::None, "off", "ファンクションキー11チェックボクックス", nullptr,
     nullptr, 0}, // F-key memo check for F11
    {58, Form::OnOff, Clamp::None, "off", "Ｆ１２後ろにも空行を入れるチェックボックス", nullptr,
     nullptr, 0}, // "F12で後ろにも空行を入れる"
    {59, Form::Text, Clamp::None, "・", "入力途中クリアメッセージ", nullptr, nullptr,
     0}, // message shown in the monitor part when a partner clears unfinished inp
    {60, Form::Text, Clamp::None, "500", "入力途中クリアメッセージ表示時間", nullptr, nullptr,
     0}, // its display time in ms
    {61, Form::OnOff, Clamp::None, "on", "8人モニター通信ｏｎ／ｏｆｆ", nullptr, nullptr,
     0}, // 8-person monitor transmission
    {64, Form::OnOff, Clamp::None, "on", "入力をＬＡＮに流すか？のチェック", nullptr, nullptr,
     0}, // "Send the input to LAN"
    {67, Form::Int, Clamp::Geometry, "3", "スライドマーカーの高さ", nullptr, nullptr,
     0}, // slide marker height
    {68, Form::Int, Clamp::Geometry, "26",
     "ボタンの元の高さ（スライドマーカーの高さを変える時に使用）", nullptr, nullptr,
     0}, // base height of the buttons, used when the slide marker height changes
    {73, Form::Text, Clamp::None, "1000", "表示文の自動保存の行数", nullptr, nullptr,
     0}, // line threshold of the periodic clearing
    {74, Form::Text, Clamp::None, "10", "表示文の自動保存の時間間隔", nullptr, nullptr,
     0}, // minutes between periodic checks
    {75, Form::OnOff, Clamp::None, "off", "表示文の自動保存をするか？", nullptr, nullptr,
     0}, // save the display log automatically
    {78, Form::Int, Clamp::Geometry, "200", "スライドマーカー1位置", nullptr, nullptr,
     0}, // slide marker 1 position
    {79, Form::Int, Clamp::Geometry, "200", "スライドマーカー2位置", nullptr, nullptr,
     0}, // slide marker 2 position
    {101, Form::OnOff, Clamp::None, "off", "Ｆ８キーで、入力文をくくる", nullptr, nullptr,
     0}, // F8 bracketing on
    {102, Form::Text, Clamp::None, "「", "Ｆ８キーで、入力文をくくる時の文字列１", nullptr, nullptr,
     0}, // F8 opening string
    {103, Form::Text, Clamp::None, "」", "Ｆ８キーで、入力文をくくる時の文字列2", nullptr, nullptr,
     0}, // F8 closing string
    {108, Form::Bold, Clamp::None, "!fsbold", "表示部のフォントスタイル：ｂｏｌｄ", nullptr,
     nullptr, 0}, // display font bold
    {109, Form::Italic, Clamp::None, "!fsItalic", "表示部のフォントスタイル：Ｉｔａｌｉｃ", nullptr,
     nullptr, 0}, // display font italic
    {110, Form::Underline, Clamp::None, "!fsUnderline",
     "表示部のフォントスタイル：ＵｎｄｅｒＬｉｎｅ", nullptr, nullptr, 0}, // display font underline
    {114, Form::Bold, Clamp::None, "!fsbold", "８人モニターのフォントスタイル：bold", nullptr,
     nullptr, 0}, // 8-person monitor font bold
    {115, Form::Italic, Clamp::None, "!fsItalic", "８人モニターのフォントスタイル：Italic", nullptr,
     nullptr, 0}, // 8-person monitor font italic
    {116, Form::Underline, Clamp::None, "!fsUnderline", "８人モニターのフォントスタイル：UnderLine",
     nullptr, nullptr, 0}, // 8-person monitor font underline
    {117, Form::Font, Clamp::None, "ＭＳ Ｐゴシック", "８人モニターのフォント名", nullptr, nullptr,
     0}, // 8-person monitor font name
    {118, Form::Colour, Clamp::None, "-2147483640", "８人モニターのフォント色", nullptr, nullptr,
     0}, // 8-person monitor font colour
    {119, Form::Int, Clamp::FontSize, "9", "８人モニターのフォントサイズ", nullptr, nullptr,
     0}, // 8-person monitor font size
    {120, Form::Colour, Clamp::None, "-2147483643", "８人モニターの背景色", nullptr, nullptr,
     0}, // 8-person monitor background
    {122, Form::Int, Clamp::Geometry, "285", "８人モニターの高さ", nullptr, nullptr,
     0}, // TForm2 height
    {123, Form::Int, Clamp::Geometry, "433", "８人モニターの幅", nullptr, nullptr,
     0}, // TForm2 width
    {124, Form::Int, Clamp::Geometry, "0", "８人モニターの縦位置", nullptr, nullptr,
     0}, // TForm2 top
    {125, Form::Int, Clamp::Geometry, "0", "８人モニターの横位置", nullptr, nullptr,
     0}, // TForm2 left
    {126, Form::OnOff, Clamp::None, "on", "他の人の入力もＵｎｄｏの対象にする",
     "他の人の入力もＵｎｄｏの対象にしない", nullptr,
     0}, // other members' input is also undone by Undo
    {128, Form::OnOff, Clamp::None, "off", "入力文の表示位置の表示する",
     "入力文の表示位置の表示しない", nullptr,
     kSkipFrameless}, // show the position where the input sentence enters
    {129, Form::Bold, Clamp::None, "!fsbold", "入力部のフォントスタイル：ｂｏｌｄ", nullptr,
     nullptr, 0}, // input part font bold
    {130, Form::Italic, Clamp::None, "!fsItalic", "入力部のフォントスタイル：Ｉｔａｌｉｃ", nullptr,
     nullptr, 0}, // input part font italic
    {131, Form::Underline, Clamp::None, "!fsUnderline",
     "入力部のフォントスタイル：ＵｎｄｅｒＬｉｎｅ", nullptr, nullptr,
     0}, // input part font underline
    {132, Form::Bold, Clamp::None, "!fsbold", "モニター部のフォントスタイル：ｂｏｌｄ", nullptr,
     nullptr, 0}, // monitor part font bold
    {133, Form::Italic, Clamp::None, "!fsItalic", "モニター部のフォントスタイル：Ｉｔａｌｉｃ",
     nullptr, nullptr, 0}, // monitor part font italic
    {134, Form::Underline, Clamp::None, "!fsUnderline",
     "モニター部のフォントスタイル：ＵｎｄｅｒＬｉｎｅ", nullptr, nullptr,
     0}, // monitor part font underline
    {135, Form::Colour, Clamp::None, "-2147483633", "ページの背景色", nullptr, nullptr,
     0}, // page background colour
    {136, Form::Colour, Clamp::None, "-2147483640", "項目文字色", nullptr, nullptr,
     0}, // item text colour
    {140, Form::OnOff, Clamp::None, "off", "Ｆ７キーを訂正キーにする。",
     "Ｆ７キーを訂正キーにしない。", nullptr, 0}, // F7 is the correction key
    {141, Form::Text, Clamp::None, "訂正：↑の「", "Ｆ７訂正キーの囲う文字列（前半）。", nullptr,
     nullptr, 0}, // F7 opening string
    {142, Form::Text, Clamp::None, "」は「」です。", "Ｆ７訂正キーの囲う文字列（後半）。", nullptr,
     nullptr, 0}, // F7 closing string
    {143, Form::OnOff, Clamp::None, "off", "カーソルより前を送る。", "入力部の全部を送る", nullptr,
     0}, // Enter sends only the text before the cursor
    {144, Form::Colour, Clamp::None, "32768", "説明文字色", nullptr, nullptr,
     0}, // explanation text colour
    {147, Form::Bold, Clamp::None, "!fsbold", "連絡窓のフォントスタイル：ｂｏｌｄ",
     "連絡窓のフォントスタイル：！ｂｏｌｄ", nullptr, 0}, // chat window font bold
    {148, Form::Italic, Clamp::None, "!fsItalic", "連絡窓のフォントスタイル：Ｉｔａｌｉｃ",
     "連絡窓のフォントスタイル：！Ｉｔａｌｉｃ", nullptr, 0}, // chat window font italic
    {149, Form::Underline, Clamp::None, "!fsUnderline",
     "連絡窓のフォントスタイル：ＵｎｄｅｒＬｉｎｅ",
     "連絡窓のフォントスタイル：！ＵｎｄｅｒＬｉｎｅ", nullptr, 0}, // chat window font underline
    {150, Form::Colour, Clamp::None, "-2147483643", "連絡窓の背景色", nullptr, nullptr,
     0}, // chat window background
    {151, Form::Colour, Clamp::None, "255", "連絡窓の連絡受信時の背景色", nullptr, nullptr,
     0}, // chat window background while a message is being received
    {152, Form::OnOff, Clamp::None, "off", "連絡窓表示", "連絡窓非表示", nullptr,
     0}, // chat window shown
    {153, Form::Font, Clamp::None, "ＭＳ Ｐゴシック", "連絡窓のフォント名", nullptr, nullptr,
     0}, // chat window font name
    {154, Form::Colour, Clamp::None, "0", "連絡窓のフォント色", nullptr, nullptr,
     0}, // chat window font colour
    {155, Form::Int, Clamp::FontSize, "12", "連絡窓のフォントサイズ", nullptr, nullptr,
     0}, // chat window font size
    {156, Form::Int, Clamp::Geometry, "200", "連絡窓の高さ", nullptr, nullptr, 0}, // TForm6 height
    {157, Form::Int, Clamp::Geometry, "255", "連絡窓の幅", nullptr, nullptr, 0},   // TForm6 width
    {158, Form::Int, Clamp::Geometry, "0", "連絡窓の縦位置", nullptr, nullptr, 0}, // TForm6 top
    {159, Form::Int, Clamp::Geometry, "0", "連絡窓の横位置", nullptr, nullptr, 0}, // TForm6 left
    {160, Form::Int, Clamp::Geometry, "38", "連絡窓の入力部の高さ", nullptr, nullptr,
     0}, // chat input area height
    {161, Form::Shown, Clamp::None, "Ｆキーメモ非表示", "表示有無", nullptr, nullptr,
     0}, // F-key memo window shown
    {162, Form::Int, Clamp::Geometry, nullptr, "Ｆキーメモの縦位置", nullptr, nullptr,
     kComputedDefault}, // TForm5 top
    {163, Form::Int, Clamp::Geometry, nullptr, "Ｆキーメモの横位置", nullptr, nullptr,
     kComputedDefault}, // TForm5 left
    {164, Form::Int, Clamp::Geometry, "217", "Ｆキーメモの横幅", nullptr, nullptr,
     0}, // TForm5 width
    {165, Form::Int, Clamp::Geometry, "333", "Ｆキーメモの縦長さ", nullptr, nullptr,
     0}, // TForm5 height
    {167, Form::Int, Clamp::Geometry, "65", "８人モニターの名前枠の幅", nullptr, nullptr,
     0}, // width of the name column of the 8-person monitor
    {168, Form::OnOff, Clamp::None, "off", "行末表示モニター部", "行頭表示モニター部", nullptr,
     0}, // monitor part shows the end of the line rather than its start
    {169, Form::OnOff, Clamp::None, "off", "行末表示８人モニター", "行頭表示８人モニター", nullptr,
     0}, // 8-person monitor shows the end of the line
    {171, Form::Text, Clamp::None, "2", "スクロール移動量（２度目、パグ対策）", nullptr, nullptr,
     0}, // scroll distance again
    {172, Form::Int, Clamp::Lines, "1", "モニター部の行数", nullptr, nullptr,
     0}, // monitor part line count
    {173, Form::Int, Clamp::Lines, "1", "入力部の行数", nullptr, nullptr,
     0}, // input part line count
    {191, Form::Text, Clamp::None, "", "連絡窓の送信者名", nullptr, nullptr,
     0}, // sender name of the chat window
    {192, Form::OnOff, Clamp::None, "off", "マウスカーソル非表示", "マウスカーソル非表示なし",
     nullptr, 0}, // hide the mouse cursor on click
    {194, Form::OnOff, Clamp::None, "off", "VPNルーター・ブロードキャストする",
     "VPNルーター・そのままのＩＰを流す", nullptr, 0}, // search only the specified addresses
    {195, Form::Text, Clamp::None, "", "VPNルーター・インターネットアドレス１", nullptr, nullptr,
     0}, // remote network address 1
    {196, Form::Text, Clamp::None, "", "VPNルーター・インターネットアドレス２", nullptr, nullptr,
     0}, // remote network address 2
    {197, Form::Text, Clamp::None, "", "VPNルーター・インターネットアドレス３", nullptr, nullptr,
     0}, // remote network address 3
    {193, Form::OnOff, Clamp::None, "off",
     "VPNルーター・インターネットで使う（アドレスの後に書く事）",
     "VPNルーター・インターネットで使わない", nullptr, 0}, // search the remote network addresses
    {216, Form::Text, Clamp::None, "♪", "SHIFT+Ｆ８キーで、入力文をくくる時の文字列１", nullptr,
     nullptr, 0}, // Shift+F8 opening string
    {217, Form::Text, Clamp::None, "♪", "SHIFT+Ｆ８キーで、入力文をくくる時の文字列2", nullptr,
     nullptr, 0}, // Shift+F8 closing string
    {220, Form::OnOff, Clamp::None, "on", "テンプレート前ロールウィンド前面",
     "テンプレート前ロールウィンド前面ではない", nullptr,
     0}, // pre-roll template window always in front
    {221, Form::Int, Clamp::Geometry, "40", "テンプレート前ロールウィンド縦位置", nullptr, nullptr,
     0}, // TForm11 top
    {222, Form::Int, Clamp::Geometry, "0", "テンプレート前ロールウィンド横位置", nullptr, nullptr,
     0}, // TForm11 left
    {223, Form::Int, Clamp::Geometry, "640", "テンプレート前ロールウィンド横幅", nullptr, nullptr,
     0}, // TForm11 width
    {224, Form::Int, Clamp::Geometry, "350", "テンプレート前ロールウィンド高さ", nullptr, nullptr,
     0}, // TForm11 height
    {225, Form::Int, Clamp::Geometry, "121", "テンプレート前ロールウィンド上部操作部高さ", nullptr,
     nullptr, 0}, // height of the operation area at the top of TForm11
    {226, Form::OnOff, Clamp::None, "off", "テンプレート前ロールウィンド表示",
     "テンプレート前ロールウィンド表示ない", nullptr, 0}, // TForm11 shown
    {227, Form::Font, Clamp::None, "ＭＳ Ｐゴシック", "テンプレート前ロールのフォントの種類",
     nullptr, nullptr, 0}, // pre-roll font name
    {228, Form::Colour, Clamp::None, "-2147483640", "テンプレート前ロールのフォントの色", nullptr,
     nullptr, 0}, // pre-roll font colour
    {229, Form::Int, Clamp::FontSize, "9", "テンプレート前ロールのフォントサイズ", nullptr, nullptr,
     0}, // pre-roll font size
    {230, Form::Bold, Clamp::None, "!fsbold", "テンプレート前ロールのフォントスタイル：bold",
     nullptr, nullptr, 0}, // pre-roll font bold
    {231, Form::Italic, Clamp::None, "!fsItalic", "テンプレート前ロールのフォントスタイル：Italic",
     nullptr, nullptr, 0}, // pre-roll font italic
    {232, Form::Underline, Clamp::None, "!fsUnderline",
     "テンプレート前ロールのフォントスタイル：UnderLine", nullptr, nullptr,
     0}, // pre-roll font underline
    {233, Form::Colour, Clamp::None, "-2147483643", "テンプレート前ロールの背景色", nullptr,
     nullptr, 0}, // pre-roll background
    {234, Form::OnOff, Clamp::None, "off", "テンプレート前ロール読込追加",
     "テンプレート前ロール読込追加なし", nullptr, 0}, // pre-roll
    {235, Form::OnOff, Clamp::None, "off", "テンプレート前ロール送った部分は消す",
     "テンプレート前ロール送った部分を消さない", nullptr, 0}, // pre-roll
    {236, Form::OnOff, Clamp::None, "off", "テンプレート前ロールカーソルより前を送る",
     "テンプレート前ロールカーソル前を送るはなし", nullptr, 0}, // pre-roll
    {237, Form::Text, Clamp::None, "1", "テンプレート前ロール自動で進める量", nullptr, nullptr,
     0}, // pre-roll automatic advance amount
    {238, Form::OnOff, Clamp::None, "on", "８人モニターを常に前面にする",
     "８人モニターを常に前面にしない", nullptr, 0}, // 8-person monitor always in front
    {249, Form::Int, Clamp::Geometry, "372", "入力ウィンド縦位置", nullptr, nullptr,
     0}, // TForm14 top
    {250, Form::Int, Clamp::Geometry, "238", "入力ウィンド横位置", nullptr, nullptr,
     0}, // TForm14 left
    {251, Form::Int, Clamp::Geometry, "544", "入力ウィンド横幅", nullptr, nullptr,
     0}, // TForm14 width
    {252, Form::Int, Clamp::Geometry, "153", "入力ウィンド高さ", nullptr, nullptr,
     0}, // TForm14 height
    {253, Form::Int, Clamp::Geometry, "63", "入力枠１高さ", nullptr, nullptr,
     0}, // height of input box 1 of TForm14
    {254, Form::Int, Clamp::Geometry, "63", "入力枠2高さ", nullptr, nullptr,
     0}, // height of input box 2 of TForm14
    {255, Form::OnOff, Clamp::None, "off", "入力ウィンド表示", "入力ウィンド非表示", nullptr,
     0}, // TForm14 shown
    {256, Form::Int, Clamp::Geometry, "200", "入力ウィンドスライドマーカー1位置", nullptr, nullptr,
     0}, // slide marker 1 of TForm14
    {257, Form::Int, Clamp::Geometry, "200", "入力ウィンドスライドマーカー2位置", nullptr, nullptr,
     0}, // slide marker 2 of TForm14
    {258, Form::TrueFalse, Clamp::None, "true", "お知らせＷの設定も送信する",
     "お知らせＷの設定も送信しない", nullptr, 0}, // information window
    {260, Form::TrueFalse, Clamp::None, "false", "お知らせＷの表示", "お知らせＷの非表示", nullptr,
     0}, // information window shown
    {263, Form::Int, Clamp::Geometry, "300", "ワ停止モニターのウィンドウの高さ", nullptr, nullptr,
     0}, // TForm8 height
    {264, Form::Int, Clamp::Geometry, "300", "ワ停止モニターのウィンドの幅", nullptr, nullptr,
     0}, // TForm8 width
    {265, Form::Int, Clamp::Geometry, "0", "ワ停止モニターのウィンドの縦位置", nullptr, nullptr,
     0}, // TForm8 top
    {266, Form::Int, Clamp::Geometry, "0", "ワ停止モニターのウィンドの横位置", nullptr, nullptr,
     0}, // TForm8 left
    {267, Form::TrueFalse, Clamp::None, "true", "お知らせＷを受信しない", "お知らせＷを受信する",
     nullptr, 0}, // information window
    {268, Form::TrueFalse, Clamp::None, "false", "お知らせＷを設定受信しない",
     "お知らせＷを設定受信する", nullptr, 0}, // information window
    {269, Form::Colour, Clamp::None, "0", "デスクトップを単一色でカバーする色", nullptr, nullptr,
     0}, // desktop cover colour
    {270, Form::TrueFalse, Clamp::None, "false", "デスクトップを単一色でカバーする",
     "デスクトップを単一色でカバーしない", nullptr, 0}, // "Cover by  single color."
    {273, Form::TrueFalse, Clamp::None, "false", "８人モニターで●消去●、$改行$を表示しない",
     "８人モニターで●消去●、$改行$を表示する", nullptr,
     0}, // 8-person monitor hides "●消去●" and "$改行$"
    {277, Form::TrueFalse, Clamp::None, "true", "「表示１」ページの行間を調整するのチェック",
     nullptr, nullptr, 0}, // automatic adjustment of lines, spacing and distance
    {278, Form::Int, Clamp::Lines, "1", "8人モニターの行数指定", nullptr, nullptr,
     0}, // 8-person monitor line count
    {444, Form::Int, Clamp::AtLeastOne, "1", "キー移動量", nullptr, nullptr, 0},   // karaoke remote
    {445, Form::Int, Clamp::AtLeastOne, "2", "シフト移動量", nullptr, nullptr, 0}, // karaoke remote
    {446, Form::Int, Clamp::AtLeastOne, "20", "右端の桁", nullptr, nullptr, 0},    // karaoke remote
    {500, Form::Int, Clamp::Geometry, "350", "お知らせＷのウィンドウの高さ", nullptr, nullptr,
     0}, // TForm15 height
    {501, Form::Int, Clamp::Geometry, "640", "お知らせＷのウィンドの幅", nullptr, nullptr,
     0}, // TForm15 width
    {502, Form::Int, Clamp::Geometry, "0", "お知らせＷのウィンドの縦位置", nullptr, nullptr,
     0}, // TForm15 top
    {503, Form::Int, Clamp::Geometry, "0", "お知らせＷのウィンドの横位置", nullptr, nullptr,
     0}, // TForm15 left
    {504, Form::Text, Clamp::None, "ここにお知らせを入力します。（最大５００文字）",
     "お知らせＷの表示文字列", nullptr, nullptr, 0}, // telop text
    {505, Form::TrueFalse, Clamp::None, "true", "お知らせＷの終了時消す",
     "お知らせＷの終了時消さない", nullptr, 0}, // telop
    {506, Form::TrueFalse, Clamp::None, "false", "お知らせＷのloopする", "お知らせＷのloopしない",
     nullptr, 0}, // telop
    {507, Form::TrueFalse, Clamp::None, "true", "お知らせＷの前面表示する",
     "お知らせＷの前面表示しない", nullptr, 0}, // telop
    {508, Form::Int, Clamp::Geometry, "0", "お知らせＷのループ", nullptr, nullptr,
     0}, // telop repetition count
    {509, Form::Int, Clamp::AtLeastOne, "50", "お知らせＷのスクロール間隔", nullptr, nullptr,
     0}, // telop scroll interval in ms
    {510, Form::Int, Clamp::AtLeastOne, "3", "お知らせＷのスクロール移動量", nullptr, nullptr,
     0}, // telop scroll distance in dots
    {511, Form::Font, Clamp::None, "ＭＳ Ｐゴシック", "お知らせＷの表示のフォントの種類", nullptr,
     nullptr, 0}, // telop font name
    {512, Form::Colour, Clamp::None, "-2147483640", "お知らせＷの表示のフォントの色", nullptr,
     nullptr, 0}, // telop font colour
    {513, Form::Int, Clamp::FontSize, "36", "お知らせＷの表示のフォントサイズ", nullptr, nullptr,
     0}, // telop font size
    {514, Form::Colour, Clamp::None, "16777215", "お知らせＷの背景色", nullptr, nullptr,
     0}, // telop background
    {515, Form::Bold, Clamp::None, "!fsbold", "お知らせＷの表示部のフォントスタイル：ｂｏｌｄ",
     nullptr, nullptr, 0}, // telop font bold
    {516, Form::Italic, Clamp::None, "!fsItalic",
     "お知らせＷの表示部のフォントスタイル：Ｉｔａｌｉｃ", nullptr, nullptr,
     0}, // telop font italic
    {517, Form::Underline, Clamp::None, "!fsUnderline",
     "お知らせＷの表示部のフォントスタイル：ＵｎｄｅｒＬｉｎｅ", nullptr, nullptr,
     0}, // telop font underline
    {518, Form::TrueFalse, Clamp::None, "true", "お知らせＷのメインウィンドの上に表示",
     "お知らせＷのメインウィンドの上ではない", nullptr, 0}, // telop across the top of the screen
    {519, Form::TrueFalse, Clamp::None, "true", "お知らせＷの表示後元位置に戻る",
     "お知らせＷの表示後そ元位置に戻らない", nullptr,
     0}, // after the telop move to the specified place
    {520, Form::TrueFalse, Clamp::None, "true", "お知らせＷの表示後設定画面に戻る",
     "お知らせＷの表示後設定画面に戻らない", nullptr, 0}, // after the telop show the Setting page
    {521, Form::TrueFalse, Clamp::None, "false", "お知らせＷの左端で止める",
     "お知らせＷの左端で止めない", nullptr, 0}, // stop scrolling at the left end
    {522, Form::TrueFalse, Clamp::None, "true", "お知らせＷの表示高さの自動設定する",
     "お知らせＷの表示高さの自動設定しない", nullptr, 0}, // line height follows the font size
    {523, Form::TrueFalse, Clamp::None, "true", "お知らせＷの戻った時に高さを初期値にする",
     "お知らせＷの戻った時に高さを初期値にしない", nullptr,
     0}, // on return set the height to the initial value
    {524, Form::TrueFalse, Clamp::None, nullptr, "お知らせＷのメインウィンドの下に表示",
     "お知らせＷのメインウィンドの下ではない", nullptr,
     kKeepOnDefaults}, // telop across the bottom of the screen
    {525, Form::Text, Clamp::None, "100", "お知らせＷのウィンドウの指定高さ", nullptr, nullptr,
     0}, // specified height
    {526, Form::Text, Clamp::None, "640", "お知らせＷのウィンドの指定幅", nullptr, nullptr,
     0}, // specified width
    {527, Form::Text, Clamp::None, "0", "お知らせＷのウィンドの指定縦位置", nullptr, nullptr,
     0}, // specified top
    {528, Form::Text, Clamp::None, "0", "お知らせＷのウィンドの指定横位置", nullptr, nullptr,
     0}, // specified left
    {529, Form::Text, Clamp::None, "10", "お知らせＷのウィンドの増分", nullptr, nullptr,
     0}, // increment
    {700, Form::TrueFalse, Clamp::None, "false", "入力の時間指定のチェック",
     "入力の時間指定のチェックなし", nullptr, 0}, // input time limit shown in red
    {701, Form::Int, Clamp::AtLeastOne, "15", "入力の時間指定の時間", nullptr, nullptr,
     0}, // input time limit in seconds
    {702, Form::Int, Clamp::Geometry, "33", "連絡窓の設定パネルの高さ", nullptr, nullptr,
     0}, // height of the chat settings panel
    {703, Form::TrueFalse, Clamp::None, "true", "連絡窓の定時連絡に時刻表示のチェック", nullptr,
     nullptr, 0}, // chat
    {704, Form::TrueFalse, Clamp::None, "true", "連絡窓の定時連絡の30秒前に流すチェック", nullptr,
     nullptr, 0}, // chat
    {705, Form::TrueFalse, Clamp::None, "false", "連絡窓の定時連絡のＬＡＮに流すチェック", nullptr,
     nullptr, 0}, // chat
    {706, Form::Int, Clamp::AtLeastOne, "5", "連絡窓の定時連絡の時間指定", nullptr, nullptr,
     0},                                                                                     // chat
    {707, Form::Text, Clamp::None, "交代です！", "連絡窓の定時連絡文", nullptr, nullptr, 0}, // chat
    {708, Form::Text, Clamp::None, "３０秒前です。", "連絡窓の定時連絡予告文", nullptr, nullptr,
     0}, // chat
    {709, Form::FixedFalse, Clamp::None, "false", "連絡窓の定時連絡（流す）のチェック", nullptr,
     nullptr, 0}, // chat
    {710, Form::Int, Clamp::Geometry, "40", "人モニターのパートナーボタンのパネルの幅", nullptr,
     nullptr, 0}, // width of the partner-button panel of the 8-person monitor
    {711, Form::Int, Clamp::Geometry, "121", "テンプレート前ロールウィンドの上のパネル高さ",
     nullptr, nullptr, 0}, // height of the upper panel of TForm11
    {712, Form::Int, Clamp::Geometry, "335", "テンプレート前ロールウィンドの上の左のパネルの幅",
     nullptr, nullptr, 0}, // width of the upper left panel of TForm11
    {739, Form::Int, Clamp::Geometry, "360", "確認修正ウィンドウのウィンドウの高さ", nullptr,
     nullptr, 0}, // TFkakunin height
    {740, Form::Int, Clamp::Geometry, "410", "確認修正ウィンドウのウィンドの幅", nullptr, nullptr,
     0}, // TFkakunin width
    {741, Form::Int, Clamp::Geometry, "0", "確認修正ウィンドウのウィンドの縦位置", nullptr, nullptr,
     0}, // TFkakunin top
    {742, Form::Int, Clamp::Geometry, "0", "確認修正ウィンドウのウィンドの横位置", nullptr, nullptr,
     0}, // TFkakunin left
    {743, Form::TrueFalse, Clamp::None, "false", "Penna専用の確認修正ウィンドウの表示", nullptr,
     nullptr, 0}, // TFkakunin shown
    {744, Form::TrueFalse, Clamp::None, "false", "Penna専用の確認修正ウィンドウのﾊﾟﾚｯﾄ送信チェック",
     nullptr, nullptr, 0}, // "Send the input to Palette"
    {760, Form::Int, Clamp::Geometry, nullptr, "「カラオケ送信リモコン」の縦位置", nullptr, nullptr,
     kComputedDefault}, // TFmojikara top
    {761, Form::Int, Clamp::Geometry, nullptr, "「カラオケ送信リモコン」の横位置", nullptr, nullptr,
     kComputedDefault}, // TFmojikara left
    {762, Form::Int, Clamp::Geometry, "530", "「カラオケ送信リモコン」の横幅", nullptr, nullptr,
     0}, // TFmojikara width
    {763, Form::Int, Clamp::Geometry, "218", "「カラオケ送信リモコン」の縦長さ", nullptr, nullptr,
     0}, // TFmojikara height
    {764, Form::TrueFalse, Clamp::None, "false",
     "「カラオケ送信リモコン」ウインドの「パートナーに送信」のチェック", nullptr, nullptr,
     0}, // karaoke remote
    {765, Form::TrueFalse, Clamp::None, "false",
     "「カラオケ送信リモコン」ウインドの「カラオケに送信」のチェック", nullptr, nullptr,
     0}, // karaoke remote
    {769, Form::TrueFalse, Clamp::None, "false", "「カラオケ送信リモコン」ウインドの表示有無",
     nullptr, nullptr, 0}, // TFmojikara shown
    {770, Form::Int, Clamp::Geometry, "90", "「カラオケ送信リモコン」の上部パネル高さ", nullptr,
     nullptr, 0}, // upper panel height of TFmojikara
    {771, Form::Colour, Clamp::None, "255", "「カラオケ送信リモコン」ウインドの変化色", nullptr,
     nullptr, 0}, // karaoke change colour
    {772, Form::TrueFalse, Clamp::None, "false", "Penna専用の確認修正ウィンドウモニタの表示",
     nullptr, nullptr, 0}, // TFshusei_moni shown
    {773, Form::Int, Clamp::Geometry, "10", "「確認修正パレットモニター」の縦位置", nullptr,
     nullptr, 0}, // TFshusei_moni top
    {774, Form::Int, Clamp::Geometry, "10", "「確認修正パレットモニター」の横位置", nullptr,
     nullptr, 0}, // TFshusei_moni left
    {775, Form::Int, Clamp::Geometry, "410", "「確認修正パレットモニター」の横幅", nullptr, nullptr,
     0}, // TFshusei_moni width
    {776, Form::Int, Clamp::Geometry, "360", "「確認修正パレットモニター」の縦長さ", nullptr,
     nullptr, 0}, // TFshusei_moni height
    {777, Form::Font, Clamp::None, "ＭＳ Ｐゴシック",
     "「確認修正パレットモニター」のフォントの種類", nullptr, nullptr,
     0}, // palette monitor font name
    {778, Form::Colour, Clamp::None, "-2147483640", "「確認修正パレットモニター」のフォントの色",
     nullptr, nullptr, 0}, // palette monitor font colour
    {779, Form::Int, Clamp::FontSize, "9", "「確認修正パレットモニター」のフォントサイズ", nullptr,
     nullptr, 0}, // palette monitor font size
    {780, Form::TrueFalse, Clamp::None, "false", "「パレット連動」のチェック", nullptr, nullptr,
     0}, // "ﾊﾟﾚｯﾄ連動"
    {781, Form::Font, Clamp::None, "ＭＳ Ｐゴシック", "「確認修正パレット」のフォントの種類",
     nullptr, nullptr, 0}, // palette font name
    {782, Form::Colour, Clamp::None, "-2147483640", "「確認修正パレット」のフォントの色", nullptr,
     nullptr, 0}, // palette font colour
    {783, Form::Int, Clamp::FontSize, "9", "「確認修正パレット」のフォントサイズ", nullptr, nullptr,
     0}, // palette font size
    {784, Form::Colour, Clamp::None, "-2147483643", "「確認修正パレット」背景色", nullptr, nullptr,
     0}, // palette background
    {785, Form::Colour, Clamp::None, "-2147483643", "「確認修正パレットモニター」背景色", nullptr,
     nullptr, 0}, // palette monitor background
    {786, Form::TrueFalse, Clamp::None, "false", "「連絡窓」の「連絡文に時刻表示」のチェック",
     nullptr, nullptr, 0}, // chat
    {787, Form::TrueFalse, Clamp::None, "false",
     "「テンプモニターに送信」の「班全員に送信」のチェック", nullptr, nullptr,
     0}, // pre-roll monitor sending
    {788, Form::TrueFalse, Clamp::None, "false",
     "「テンプモニターに送信」の「パートナーのみ」のチェック", nullptr, nullptr,
     0}, // pre-roll monitor sending
    {789, Form::TrueFalse, Clamp::None, "false",
     "「テンプモニターに送信」の「自分に表示」のチェック", nullptr, nullptr,
     0}, // pre-roll monitor sending
    {790, Form::Int, Clamp::Geometry, "230", "テンプモニターのウィンドウの高さ", nullptr, nullptr,
     0}, // TForm3 height
    {791, Form::Int, Clamp::Geometry, "450", "テンプモニターのウィンドの幅", nullptr, nullptr,
     0}, // TForm3 width
    {792, Form::Int, Clamp::Geometry, "0", "テンプモニターのウィンドの縦位置", nullptr, nullptr,
     0}, // TForm3 top
    {793, Form::Int, Clamp::Geometry, "0", "テンプモニターのウィンドの横位置", nullptr, nullptr,
     0}, // TForm3 left
    {794, Form::Int, Clamp::Geometry, "57", "テンプモニターの上パネルの高さ", nullptr, nullptr,
     0}, // upper panel height of TForm3
    {795, Form::Int, Clamp::Geometry, "45", "テンプモニターの上パネルの高さ", nullptr, nullptr,
     0}, // second panel height of TForm3
    {796, Form::Font, Clamp::None, "ＭＳ Ｐゴシック", "テンプモニターの表示のフォントの種類",
     nullptr, nullptr, 0}, // pre-roll monitor font name
    {797, Form::Colour, Clamp::None, "-2147483640", "テンプモニターの表示のフォントの色", nullptr,
     nullptr, 0}, // pre-roll monitor font colour
    {798, Form::Int, Clamp::FontSize, "9", "テンプモニターの表示のフォントサイズ", nullptr, nullptr,
     0}, // pre-roll monitor font size
    {799, Form::TrueFalse, Clamp::None, "false", "テンプモニターの表示有無", nullptr, nullptr,
     0}, // TForm3 shown
    {800, Form::TrueFalse, Clamp::None, "false",
     "８人モニターの自動的に上から入力するのチェックあり",
     "８人モニターの自動的に上から入力するのチェックなし", nullptr, 0}, // 8-person monitor
    {803, Form::TrueFalse, Clamp::None, "true", "メッセージ表示", "メッセージ抑制", nullptr,
     0}, // show messages
    {804, Form::TrueFalse, Clamp::None, "false", "入力部内で改行する", nullptr, nullptr,
     0}, // line break inside the input part on F9
    {805, Form::TrueFalse, Clamp::None, "false", "「空行のみ改行」を指定", nullptr, nullptr,
     0}, // "「空行のみ改行」を指定した時"
    {806, Form::TrueFalse, Clamp::None, "false", "「暗号化通信」の指定", nullptr, nullptr,
     0}, // encrypt the link
    {807, Form::Text, Clamp::None, "共有する合言葉はここです", "「暗号化通信」のパスワード",
     nullptr, nullptr, 0}, // link password
    {808, Form::TrueFalse, Clamp::None, "false", "Ｆ１１をＤｅｌ／Ｃｌｓにする", nullptr, nullptr,
     0}, // F11 acts as Del / Shift+F11 as Cls
    {809, Form::TrueFalse, Clamp::None, "false", "ルビ送信。", nullptr, nullptr,
     0}, // ruby display and sending
    {850, Form::Colour, Clamp::None, "-2147483643", "テンプモニターの背景色", nullptr, nullptr,
     0}, // pre-roll monitor background
    {851, Form::Bold, Clamp::None, "!fsbold", "テンプモニターの表示部のフォントスタイル：ｂｏｌｄ",
     nullptr, nullptr, 0}, // pre-roll monitor font bold
    {852, Form::Italic, Clamp::None, "!fsItalic",
     "テンプモニターの表示部のフォントスタイル：Ｉｔａｌｉｃ", nullptr, nullptr,
     0}, // pre-roll monitor font italic
    {853, Form::Underline, Clamp::None, "!fsUnderline",
     "テンプモニターの表示部のフォントスタイル：ＵｎｄｅｒＬｉｎｅ", nullptr, nullptr,
     0}, // pre-roll monitor font underline
    {854, Form::TrueFalse, Clamp::None, "false", "テンプモニターの右端で折り返しチェック", nullptr,
     nullptr, 0}, // pre-roll monitor wraps at the right edge
    {855, Form::TrueFalse, Clamp::None, "false", "受信文をクリップボードへコピーのチェック",
     nullptr, nullptr, 0}, // copy received text to the clipboard
    {856, Form::TrueFalse, Clamp::None, "false", "「ｔａｂに記録量を表示」のチェック", nullptr,
     nullptr, 0}, // show the record size on the tab
    {857, Form::TrueFalse, Clamp::None, "false", "連絡窓の「Quorel終了時に自動保存する」のチェック",
     nullptr, nullptr, 0}, // chat window saves its log at exit
    {858, Form::TrueFalse, Clamp::None, "false", "入力文をクリップボードへコピーのチェック",
     nullptr, nullptr, 0}, // copy input text to the clipboard
    {859, Form::OnOff, Clamp::None, "off", "テンプレート前ロール送った消文字を前行追加",
     "テンプレート前ロール送った部分を消文字を前行追加", nullptr, 0}, // pre-roll
    {860, Form::TrueFalse, Clamp::None, "false", "カンマで区切った設定も送信する。", nullptr,
     nullptr, 0}, // pre-roll
    {861, Form::TrueFalse, Clamp::None, "false", "前ロールモニターの行数を２倍にする。", nullptr,
     nullptr, 0}, // double the line count of the pre-roll monitor
    {862, Form::TrueFalse, Clamp::None, "true", "８人モニターでＣＲ／ＬＦを■に表示。", nullptr,
     nullptr, 0}, // 8-person monitor shows CR/LF as ■
    {863, Form::TrueFalse, Clamp::None, "false", "モニター部でＣＲ／ＬＦを■に表示。", nullptr,
     nullptr, 0}, // monitor part shows CR/LF as ■
    {864, Form::TrueFalse, Clamp::None, "false", "文字で入力読みを囲う。", nullptr, nullptr,
     0}, // enclose the reading with characters
    {865, Form::Text, Clamp::None, "（", "文字で入力読みを囲う。", nullptr, nullptr,
     0}, // reading opening character
    {866, Form::Text, Clamp::None, "）", "文字で入力読みを囲う。", nullptr, nullptr,
     0}, // reading closing character
    {867, Form::TrueFalse, Clamp::None, "false", "ルビにする。", nullptr, nullptr,
     0}, // make the reading a ruby
    {868, Form::Kana, Clamp::None, "3", "ひらがなルビにする。", "カタカナルビにする。",
     "ﾊﾝｶｸﾙﾋﾞにする。", 0}, // reading kana
    {869, Form::TrueFalse, Clamp::None, "false", "Lumoを表示に。", nullptr, nullptr,
     0}, // show on the companion display program
    {870, Form::TrueFalse, Clamp::None, "false", "句読点などで自動的に表示に流す", nullptr, nullptr,
     0}, // send automatically at punctuation
    {871, Form::TrueFalse, Clamp::None, "false", "入力文字数が指定を超えると黄色で警告する",
     nullptr, nullptr, 0}, // warn in yellow when the characters per minute exceed the limit
    {872, Form::Text, Clamp::None, "100", "黄色で警告する入力文字数", nullptr, nullptr,
     0}, // characters-per-minute limit
};

const Row kReaderOnly[] = {
    {71, Form::Colour, Clamp::None, "32768", nullptr, nullptr, nullptr, 0}, // splitter 1 colour
    {72, Form::Colour, Clamp::None, "32896", nullptr, nullptr, nullptr, 0}, // splitter 2 colour
    {139, Form::OnOff, Clamp::None, "off", nullptr, nullptr, nullptr, 0},   // same as 140
    {801, Form::Int, Clamp::None, "0", "チャンネル", nullptr, nullptr, 0},  // channel index
    {802, Form::Text, Clamp::None, "1", "班", nullptr, nullptr, 0},         // input group
    {166, Form::Text, Clamp::None, nullptr, "自分のパソコンのホスト名（最後に書く）", nullptr,
     nullptr, kKeepOnDefaults}, // the station name
};

const Row kExtension[] = {
    {950, Form::OnOff, Clamp::None, "off", "Audience view", nullptr, nullptr, 0},
    {951, Form::Int, Clamp::Port, "8080", "Audience view port", nullptr, nullptr, 0},
};

} // namespace

std::span<const Row> catalogue() {
    return kRows;
}

std::span<const Row> readerOnlyKeys() {
    return kReaderOnly;
}

std::span<const Row> extensionKeys() {
    return kExtension;
}

const Row* findRow(int key) {
    // 1000 keys at most: an index built once keeps the reader linear.
    static const std::array<const Row*, 1000> index = [] {
        std::array<const Row*, 1000> a{};
        for (const Row& r : kRows)
            a[std::size_t(r.key)] = &r;
        for (const Row& r : kReaderOnly)
            a[std::size_t(r.key)] = &r;
        for (const Row& r : kExtension)
            a[std::size_t(r.key)] = &r;
        return a;
    }();
    if (key < 0 || key >= int(index.size()))
        return nullptr;
    return index[std::size_t(key)];
}

QString positiveToken(Form form) {
    switch (form) {
    case Form::OnOff:
        return QStringLiteral("on");
    case Form::TrueFalse:
    case Form::FixedFalse:
        return QStringLiteral("true");
    case Form::Bold:
        return QStringLiteral("fsbold");
    case Form::Italic:
        return QStringLiteral("fsItalic");
    case Form::Underline:
        return QStringLiteral("fsUnderline");
    default:
        return {};
    }
}

QString negativeToken(Form form) {
    switch (form) {
    case Form::OnOff:
        return QStringLiteral("off");
    case Form::TrueFalse:
    case Form::FixedFalse:
        return QStringLiteral("false");
    case Form::Bold:
    case Form::Italic:
    case Form::Underline:
        return QLatin1Char('!') + positiveToken(form);
    default:
        return {};
    }
}

QString commentFor(const Row& row, const QString& value) {
    const auto utf8 = [](const char* s) { return s ? QString::fromUtf8(s) : QString(); };
    if (row.form == Form::Kana) {
        if (value == QLatin1String("3"))
            return utf8(row.comment);
        if (value == QLatin1String("2"))
            return utf8(row.commentNeg);
        return utf8(row.comment3);
    }
    if (row.commentNeg != nullptr && value != positiveToken(row.form))
        return utf8(row.commentNeg);
    return utf8(row.comment);
}

int clamp(Clamp c, int v) {
    constexpr int kScreen = 16384; // a few screens in every direction
    switch (c) {
    case Clamp::None:
        return v;
    case Clamp::Geometry:
        return std::clamp(v, -kScreen, kScreen);
    case Clamp::FontSize:
        return std::clamp(v, 1, 500);
    case Clamp::Lines:
        return std::clamp(v, 1, 1000);
    case Clamp::AtLeastOne:
        return std::clamp(v, 1, kScreen);
    case Clamp::Port:
        return std::clamp(v, 1024, 65535);
    }
    return v;
}

} // namespace quorel::settings
