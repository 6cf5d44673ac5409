// The manual's texts: introduction, battle rules, matchups, growth and revival, staff.
#include "game/pages/manual_pages.hpp"
#include "game/text/translate.hpp"

namespace {

constexpr int kContinues = 0;

// clang-format off
constexpr ManualText kIntroduction[] = {
    {3, 2, 9, Translatable("■はじめに")},
    {3, 4, 0, Translatable("　このゲームを遊んで頂き有難う御座います。")},
    {3, 5, 0, Translatable("　このゲームは名前を入力してキャラクターを作成し、")},
    {3, 6, 12, Translatable("　全6ラウンド")},
    {kContinues, 6, 0, Translatable("の闘技場に挑むゲームとなっております。")},
    {3, 7, 0, Translatable("　やや難易度は高めになっておりますが、")},
    {3, 8, 0, Translatable("　入念にテストプレイをしておりますので必ずクリアは出来ますのでご安心を。")},
    {3, 9, 0, Translatable("　何はともあれ、楽しんでいただけたら幸いです。")},
    {3, 11, 9, Translatable("■遊び方")},
    {3, 13, 0, Translatable("  まずは名前を入力し、キャラクターを作成しましょう。")},
    {3, 14, 0, Translatable("  ↓")},
    {3, 15, 0, Translatable("　名前を入力したら、「闘技場へ」を選びましょう。")},
    {3, 16, 0, Translatable("　↓")},
    {3, 17, 0, Translatable("　全6戦、頑張って勝ち残りましょう。簡単には勝ち残れません。")},
    {3, 18, 0, Translatable("　↓")},
    {3, 19, 0, Translatable("　無事勝ち残ったらゲームクリア。おめでとう御座います！")},
    {3, 20, 0, Translatable("　↓")},
    {3, 21, 6, Translatable("　合計ターン数を少なくクリアすると何か起こるという噂も？")},
};

constexpr ManualText kBattle[] = {
    {3, 2, 9, Translatable("■戦闘概要")},
    {3, 4, 0, Translatable("　1:1のターン制バトルです。")},
    {3, 5, 0, Translatable("　先にＨＰが無くなった方が")},
    {kContinues, 5, 4, Translatable("負け")},
    {kContinues, 5, 0, Translatable("となります。")},
    {3, 7, 9, Translatable("■戦闘システム")},
    {3, 9, 0, Translatable("　いわゆる「3すくみ制(例：ジャンケン)」の特殊バージョンです。")},
    {3, 10, 0, Translatable("　コマンドの種類は「攻撃」「強攻撃」「カウンター」「魔法」の4種類。")},
    {3, 11, 0, Translatable("　まずは各コマンドについて説明しましょう。")},
    {3, 13, 0, Translatable("　□攻撃")},
    {3, 14, 0, Translatable("　　通常攻撃を行う。強攻撃に強い。")},
    {3, 15, 0, Translatable("　　相手がカウンターを選択していた場合、3分の1の確率で攻撃失敗となる。")},
    {3, 17, 0, Translatable("　□強攻撃\t")},
    {3, 19, 0, Translatable("　　通常攻撃の1.5倍の攻撃力で攻撃する。このターン防御力が2分の1になる。")},
    {3, 20, 0, Translatable("　　通常攻撃に比べ、命中率が低い。")},
    {3, 21, 0, Translatable("　　ただし相手がカウンターを選択していた場合、確実に命中する。")},
};

constexpr ManualText kCommands[] = {
    {3, 2, 0, Translatable("　□カウンター")},
    {3, 4, 0, Translatable("　　成功した場合相手の攻撃をかわし、")},
    {3, 5, 0, Translatable("　　相手の(攻撃力＋魔力)÷2＋自分の攻撃力で反撃する。")},
    {3, 6, 0, Translatable("　　成功、失敗に関わらずこのターン防御力が2分の1になるが体力・魔力を回復する。")},
    {3, 7, 0, Translatable("　　相手が魔法選択時は確実にカウンターが成功する。")},
    {3, 9, 0, Translatable("　□魔法")},
    {3, 11, 0, Translatable("　　消費MP150。相手の防御を無視し、")},
    {3, 12, 0, Translatable("　　自分の魔力÷3の値を直接ダメージとして与える。(必ず命中する)")},
    {3, 13, 0, Translatable("　　ただし相手がカウンターを選択していた場合、確実に失敗する。")},
    {3, 15, 9, Translatable("■簡易相性まとめ")},
    {3, 17, 0, Translatable("　・通常攻撃は強攻撃に強い。")},
    {3, 18, 0, Translatable("　・強攻撃はカウンターに強い。")},
    {3, 19, 0, Translatable("　・カウンターは魔法攻撃に強い。")},
};

constexpr ManualText kMatchups[] = {
    {2, 2, 9, Translatable("■各コマンドの相性詳細（Ａ:攻撃側、Ｂ:防御側) ")},
    {2, 4, 0, Translatable("　□Ａ:攻撃　Ｂ:強攻撃")},
    {2, 6, 0, Translatable("　　通常攻撃側の攻撃力が1.5倍になる。")},
    {2, 8, 0, Translatable("　□Ａ:攻撃　Ｂ:カウンター")},
    {2, 10, 0, Translatable("　　3分の1の確率で失敗となり、 (Ａ攻撃力 ＋ Ａ防御力) ÷ 2の威力で反撃される。")},
    {2, 12, 0, Translatable("　□Ａ:強攻撃　Ｂ:カウンター")},
    {2, 14, 0, Translatable("　　確実にカウンターが失敗する。威力は本来の強攻撃の性能と変わらないが、")},
    {2, 15, 0, Translatable("　　カウンターで防御力が2分の1になっている為")},
    {2, 16, 0, Translatable("　　1.5倍の攻撃力→0.5倍の防御力という破壊力になる。")},
    {2, 18, 0, Translatable("　□Ａ:魔法　Ｂ:カウンター")},
    {2, 20, 0, Translatable("　　確実にカウンターが成功し、反撃を喰らう。")},
    {2, 21, 0, Translatable("　　威力は (Ａ攻撃力 ＋ Ａ防御力) ÷ 2 × 1.5 となり、")},
    {2, 22, 0, Translatable("　　通常のカウンターより大きい反撃を喰らう事になる。")},
};

constexpr ManualText kSystems[] = {
    {2, 2, 9, Translatable("■その他システム概要")},
    {2, 4, 0, Translatable("　□強化システム")},
    {2, 6, 0, Translatable("　　ラウンド毎に微量能力値が上昇する。")},
    {2, 7, 0, Translatable("　　また、3ラウンド目が終わると名前の入力を求められ、")},
    {2, 8, 0, Translatable("　　その名前によって")},
    {kContinues, 8, 12, Translatable("大幅にキャラクターの能力")},
    {kContinues, 8, 0, Translatable("が強化される。")},
    {2, 10, 0, Translatable("　□復活システム")},
    {2, 12, 0, Translatable("　　キャラクターが力尽きてしまった！")},
    {2, 13, 0, Translatable("　　でも大丈夫、君のキャラクターはそんなに弱くない！")},
    {2, 14, 0, Translatable("　　諦めずに信じれば、")},
    {kContinues, 14, 2, Translatable("きっと立ち上がってくれるハズ！")},
    {2, 16, 0, Translatable("　　･･････という訳で、運が良ければＨＰが無くなっても復活します。")},
};

constexpr ManualText kStaff[] = {
    {2, 2, 9, Translatable("■スタッフ")},
    {2, 4, 0, Translatable("　□素材提供")},
    {2, 6, 0, Translatable("　　・DOMRAK developers 様")},
    {2, 7, 0, Translatable("　　　　効果音（プロジェクトのツールで生成）")},
    {2, 9, 0, Translatable("　　・DOMRAK developers 様")},
    {2, 10, 0, Translatable("　　　　BGM（プロジェクトのツールで生成）")},
    {2, 12, 0, Translatable("　　・DOMRAK developers 様")},
    {2, 13, 0, Translatable("　　　　ロゴ・画面構成")},
    {2, 17, 0, Translatable("　□テストプレイ")},
    {2, 19, 0, Translatable("　　DOMRAK developers（自動テスト）")},
    {2, 21, 0, Translatable("　□企画・プログラム")},
    {2, 23, 0, Translatable("　　DOMRAK developers")},
};
// clang-format on

constexpr std::span<const ManualText> kPages[kManualPageCount] = {
    kIntroduction, kBattle, kCommands, kMatchups, kSystems, kStaff,
};

}  // namespace

std::span<const ManualText> ManualPage(int page) { return kPages[page - 1]; }
