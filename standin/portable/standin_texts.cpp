#include "standin_texts.h"

namespace tovimo::standin {

StandinTexts MakeTexts(Product product, KanaForm kana) {
    const bool lt = product == Product::Lt;
    const bool half = kana == KanaForm::HalfWidth;
    StandinTexts t;
    t.productName = lt ? "AutoCAD LT 2000" : "AutoCAD 2000";
    t.textWindowWord = half ? "ﾃｷｽﾄ ｳｨﾝﾄﾞｳ" : "テキスト ウィンドウ";
    t.commandPrompt = half ? "ｺﾏﾝﾄﾞ: " : "コマンド: ";
    t.messageBoxTitle = lt ? "AutoCAD LT ﾒｯｾｰｼﾞ" : "AutoCAD メッセージ";
    t.questionTitle = lt ? "AutoCAD LT" : "AutoCAD";
    t.overwriteQuestion = lt ? "上書きしますか? <N> " : "置き換えますか? <N> ";
    t.startupTitle = half ? "ｽﾀｰﾄｱｯﾌﾟ" : "スタートアップ";
    t.startupCancel = half ? "ｷｬﾝｾﾙ" : "キャンセル";
    t.fileDialogTitle = half ? "図面ﾌｧｲﾙを選択" : "図面ファイルを選択";
    t.openFileNamePrompt = half ? "開く図面ﾌｧｲﾙ名を入力: " : "開く図面ファイル名を入力: ";
    t.shapePrompt = half ? "ｼｪｲﾌﾟ ﾌｧｲﾙ \"ltypeshp.shx\" が見つかりません。代わりのﾌｧｲﾙ名を入力 <なし>: "
                         : "シェイプ ファイル \"ltypeshp.shx\" が見つかりません。代わりのファイル名を入力 <なし>: ";
    t.continuePrompt = half ? "図面ﾌｧｲﾙにｴﾗｰがあります。続行するには Enter を押してください: "
                            : "図面ファイルにエラーがあります。続行するには Enter を押してください: ";
    t.saveFormatPrompt = half ? "ﾌｧｲﾙ形式を入力 [R14(LT98&LT97)/2000(LT2000)/Dxf] <2000(LT2000)>: "
                              : "ファイル形式を入力 [R14(LT98&LT97)/2000(LT2000)/Dxf] <2000(LT2000)>: ";
    t.saveNameWords = half ? "保存するﾌｧｲﾙ名を入力" : "保存するファイル名を入力";
    t.precisionPrompt = "精度の小数点以下の桁数を入力 (0 から 16) <16>: ";
    t.styleNamePrompt = half ? "文字ｽﾀｲﾙ名を入力 または [?] <Standard>: "
                             : "文字スタイル名を入力 または [?] <Standard>: ";
    t.fontPrompt = half ? "ﾌｫﾝﾄ名またはﾌｫﾝﾄ ﾌｧｲﾙ名を指定 <txt>: "
                        : "フォント名またはフォント ファイル名を指定 <txt>: ";
    t.welcome = half ? "ﾒﾆｭｰ ﾕｰﾃｨﾘﾃｨ ﾛｰﾄﾞ完了。" : "メニュー ユーティリティ ロード完了。";
    return t;
}

std::string StandinTexts::MainTitle(std::string_view drawingName) const {
    return productName + " - [" + std::string(drawingName) + "]";
}

std::string StandinTexts::TextWindowTitle(std::string_view drawingName) const {
    // "AutoCAD LT ﾃｷｽﾄ ｳｨﾝﾄﾞｳ - A.dwg": the product without its version.
    const std::string product = productName.substr(0, productName.rfind(' '));
    return product + " " + textWindowWord + " - " + std::string(drawingName);
}

std::string StandinTexts::SysVarPrompt(std::string_view name, std::string_view value) const {
    return std::string(name) + " の新しい値を入力 <" + std::string(value) + ">: ";
}

std::string StandinTexts::SaveNamePrompt(std::string_view defaultName) const {
    return saveNameWords + " <" + std::string(defaultName) + ">: ";
}

}  // namespace tovimo::standin
