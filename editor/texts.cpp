// Every text of the editor's windows. Standard C++ data only: the tools
// compile it in UTF-8 to name what the editor shows.
#include "editor/texts.h"

#include "asd_version.h"

// The version is the project's, as in the version resource and the manifest.
const char MainWindowTitle[] = "モルダン・ピクセリオン - Save Editor ver " ASD_VERSION_TEXT;
const char OpenTitleFormat[] = "モルダン・ピクセリオン - Save Editor ver " ASD_VERSION_TEXT " (%s)";
const char FileMenuText[] = "ﾌｧｲﾙ(&F)";
const char OpenMenuText[] = "開く(&O)...";
const char SaveMenuText[] = "上書き保存(&S)...";
const char SeparatorText[] = "-";
const char ExitMenuText[] = "終了(&E)";
const char EditMenuText[] = "編集(&E)";
const char ListMenuText[] = "リスト表示(&L)";
const char ItemsMenuText[] = "アイテム(&I)";
const char HelpMenuText[] = "ヘルプ(&H)";
const char VersionMenuText[] = "ﾊﾞｰｼﾞｮﾝ情報(&V)";
const wchar_t OpenFilter[] = L"Save Data(*s?.asd)\0*.asd\0All(*.*)\0*.*\0";

const char* const ValueLabels[GameValueCount] = {
#define GAME_VALUE(name, member, first, key, label, offset, count, low, high, kind) label,
#define STAT_VALUE(name, row, key, label, offset, low, high, kind) label,
#include "core/values.inc"
#undef GAME_VALUE
#undef STAT_VALUE
};
const FieldRow FieldTable[StatCount] = {
#define GAME_VALUE(name, member, first, key, label, offset, count, low, high, kind)
#define STAT_VALUE(name, row, key, label, offset, low, high, kind) {label, offset},
#include "core/values.inc"
#undef GAME_VALUE
#undef STAT_VALUE
};

const char NameBoxCaption[] = "NAME";
const char PositionLabel[] = "座標";
const char EnemyName[] = "敵";

// Units 0 to 7 of every save file are the game's heroes.
// clang-format off
const char* const HeroNames[HeroCount] = {
    "アルシオン",
    "ベルカ",
    "セレスタ",
    "ドルガン",
    "ミルフィ",
    "ガロウ",
    "リーゼル",
    "オルテア",
};
// clang-format on

const char* UnitName(int unit) { return unit < HeroCount ? HeroNames[unit] : EnemyName; }

const char ExitQuestion[] = "終了しますか？";
const char QuestionCaption[] = "確認";
const char VersionCaption[] = "ﾊﾞｰｼﾞｮﾝ情報";
const char VersionText[] = "モルダン・ピクセリオン Save Editor ver " ASD_VERSION_TEXT
                           "\n"
                           "制作　月影ソフト工房　1997";
const char ErrorCaption[] = "エラー";
const char FailedStartFormat[] = "起動できませんでした。%s。";
const char SaveFailedText[] = "上書き保存に失敗しました。";
const char ChangedOutsideFormat[] =
    "%s\nは開いた後でほかのプログラムに変更されています。上書きしますか？";
const char WriteAllLabel[] = "すべて書く(&A)";
const char WriteEditsLabel[] = "編集した値だけ書く(&E)";
const char WriteNothingLabel[] = "書かない(&N)";
const char SaveQuestionFailedText[] = "保存の確認を表示できませんでした。何も書いていません。";
const char BackupFailedFormat[] =
    "バックアップを作れませんでした（%s）。バックアップなしで書きますか？";
const char SystemErrorFormat[] = "エラー %lu";
const char OpenFailedFormat[] = "%s\nを開けませんでした。";
const char NotSaveFileFormat[] = "%s\nはモルダン・ピクセリオンのセーブデータではありません。";
const char FileTooShortFormat[] = "%s\nは途中で切れています。最後の値まで届いていません。";
const char DialogFailedText[] = "ファイルを開けませんでした。パスが長すぎるかもしれません。";

const char ItemWindowTitle[] = "アイテム一覧";

// One tile of the item window per counter, in counter order.
// clang-format off
const char* const ItemLabels[CounterCount] = {
    // Item kinds (counters 0 to 41).
    "やくそう",   "上やくそう", "毒消し草",   "目覚めの鈴", "魔法の水",   "聖なる水",
    "力の種",     "守りの種",   "知恵の実",   "速さの実",   "命の木の実", "魔力の実",
    "銅の剣",     "鋼の剣",     "炎の剣",     "氷の槍",     "雷の斧",     "狩人の弓",
    "魔導書",     "賢者の杖",   "革の盾",     "鉄の盾",     "鎖かたびら", "銀の鎧",
    "竜の鱗",     "羽根帽子",   "鉄の兜",     "疾風の靴",   "守護の指輪", "魔除けの札",
    "転移の石",   "帰還の羽",   "地図の欠片", "古代の鍵",   "星のかけら", "月の雫",
    "太陽の石",   "勇者の証",   "王家の紋章", "金の延べ棒", "光の宝珠",   "闇の宝珠",
    // Monster kinds (counters 42 to 53).
    "スライム",   "ゴブリン",   "コボルト",   "オーク",     "大コウモリ", "スケルトン",
    "ゴーレム",   "ワイバーン", "トロール",   "ガーゴイル", "キメラ",     "ドラゴン",
};
// clang-format on

// The side label's words, one to a line with an empty line between them:
// its box holds four characters to a line, and the breaks are the text's own,
// so that no system's line breaking decides them.
const char ItemSideLabel[] = "アイテム\n\n一覧\n\nＭＯＤＥ";
const char BackButtonText[] = "もどる";
const char FillButtonText[] = "まんたん";
