// The stage backgrounds, one landscape per layer picture.
#include <cstdio>

#include "tools/demo-game/demo_canvas.h"
#include "tools/demo-game/demo_content.h"

void AddBackgroundPictures(DEMOGAME& game)
{
    for (int layer = 1; layer <= 8; ++layer) {
        char name[32];
        std::snprintf(name, sizeof name, "背景その%d.bmp", layer);
        game.files.push_back({name, Landscape(layer)});
    }
}
