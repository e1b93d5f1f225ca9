#include "app/standard_mirrors.h"

#include "graphics/standard_surfaces.h"

namespace {

void Link(int mirror, int source) { g_StdSurface[mirror].lpMirrorSD = &g_StdSurface[source]; }

}  // namespace

void LinkStandardMirrors()
{
    Link(3, 2);
    // The second copy of each chara and shot sheet shows the first: 5 -> 4, 7 -> 6, ... 21 -> 20.
    for (int i = 5; i <= 21; i += 2) Link(i, i - 1);
    // Both system-memory copies of each sheet show its first copy: 22, 23 -> 4 ... 38, 39 -> 20.
    for (int i = 22; i <= 39; ++i) Link(i, 4 + (i - 22) / 2 * 2);
    Link(41, 40);
    Link(44, 43);
    Link(68, 67);
}
