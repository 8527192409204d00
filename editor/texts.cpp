// Names shown by the editor windows: the heroes and the item and monster kinds.
#include "editor/item_window.h"
#include "editor/main_window.h"

// Units 0 to 7 of every save file are the game's heroes.
const char* const HeroNames[8] = {
    "アルシオン",
    "ベルカ",
    "セレスタ",
    "ドルガン",
    "ミルフィ",
    "ガロウ",
    "リーゼル",
    "オルテア",
};

// One tile of the item window per counter, in counter order.
const char* const ItemLabels[54] = {
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
