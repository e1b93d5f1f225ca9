#include "data/command_info.h"

#include <utility>

const COMMANDINFO g_CommandInfo[COMMAND_KINDS] = {
    {"", 0},
    {"ウエイト", 0},
    {"直線移動", 0},
    {"地上折り返し移動", 0},
    {"円移動", 0},
    {"突撃移動", 0},
    {"誘導移動", 0},
    {"画面外回避移動", 0},
    {"移動の無効化", 0},
    {"向き変更", 1},
    {"ジャンプ", 5},
    {"ショット", 0},
    {"ソード", 0},
    {"ブロック召喚", 0},
    {"キャラ召喚", 0},
    {"アイテム召喚", 0},
    {"フローの操作", 3},
    {"ステージクリア", 9},
    {"ゲームウエイト", 1},
    {"メッセージ", 17},
    {"ワープ", 0},
    {"ターゲットの設定", 10},
    {"ステータスの操作", 18},
    {"ステータスの操作2", 3},
    {"アイテムの取得", 2},
    {"グラフィックの変更", 3},
    {"基本アニメセットの変更", 1},
    {"アニメの実行", 1},
    {"エフェクトの実行", 8},
    {"キャラエフェクトの実行", 3},
    {"画面エフェクトの実行", 3},
    {"ピクチャーの表示", 14},
    {"画面の色を変更", 8},
    {"背景の変更", 2},
    {"効果音の再生", 1},
    {"BGMの再生", 2},
    {"コードの実行", 0},
};

namespace {

// Item actions 0 and 1 are their own; from 2 on each is the flow command kItemActionCommandOffset
// kinds further on, with its label and count.
template <std::size_t... k>
std::array<COMMANDINFO, ITEMACTION_KINDS> ItemActionInfo(std::index_sequence<k...>)
{
    return {COMMANDINFO("", 0), COMMANDINFO("フローの変更", 2),
            g_CommandInfo[ITEMACTION_FIRST_COMMAND + kItemActionCommandOffset + k]...};
}

}  // namespace

const std::array<COMMANDINFO, ITEMACTION_KINDS> g_ItemActionInfo =
    ItemActionInfo(std::make_index_sequence<ITEMACTION_KINDS - ITEMACTION_FIRST_COMMAND>{});

const COMMANDINFO* FindCommandInfo(int bItemAction, int kind)
{
    if (kind < 0) return nullptr;
    if (bItemAction) return kind < ITEMACTION_KINDS ? &g_ItemActionInfo[kind] : nullptr;
    return kind < COMMAND_KINDS ? &g_CommandInfo[kind] : nullptr;
}

int CommandKindOf(int bItemAction, int kind)
{
    if (!bItemAction) return (kind >= 0 && kind < COMMAND_KINDS) ? kind : -1;
    if (kind >= ITEMACTION_FIRST_COMMAND && kind < ITEMACTION_KINDS) return kind + kItemActionCommandOffset;
    return -1;
}
