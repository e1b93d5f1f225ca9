// The options screen of the demo: each of the six option items labelled for what it sets.
#include <cstddef>
#include <iterator>

#include "tools/demo-game/demo_content.h"

void AddDemoOptions(DEMOGAME& game)
{
    static const char* const kLabels[] = {"ウインドウの色", "BGM", "効果音の音量", "ランキング登録", "ランキング登録名", "もどる"};
    cSafeVector<cMenuItemData>& items = game.system.m_OptionMenu;
    items.resize(std::size(kLabels));
    for (std::size_t i = 0; i < items.size(); ++i) {
        items[i].m_bEnabled = 1;
        items[i].m_strLabel = kLabels[i];
    }
}
