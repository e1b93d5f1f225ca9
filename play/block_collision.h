#pragma once
// Block collision of the stage-play scene: charas against the block grid and the screen's
// edges. Cell indices are those of the block grid; the tests return 2 when a block (or the
// screen's bottom) kills the chara, else 0. A part of cPlayScene, which derives from it.
class cChara;
class cHero;

// Charas that fly through blocks are never tested against them.
bool SkipsBlocks(const cChara& chara);

class cBlockCollision {
public:
    int FindBlockOnLine(const cChara& chara, int x1, int y1, int x2, int y2);
    int FindFloorBlock(const cChara& chara);
    int FindBlockAtCorners(int left, int top, int right, int bottom, int layer);
    int ProbeLeft(cChara& chara);
    int ProbeRight(cChara& chara);
    int ProbeUp(cChara& chara);
    int ProbeDown(cChara& chara);
    int CollideX(cChara& chara);
    int CollideXBoth(cChara& chara);
    int CollideY(cChara& chara);
    int CollideYBoth(cChara& chara);
    void ClampToScreenX(cHero& player);
    int ClampToScreenY(cHero& player);
};
