#pragma once
// Riding and block effects: ordinary charas against the block-like charas of the stage (they
// are pushed, stand on them, ride along and can be crushed; play/riding.cpp), and the effects
// and items of the grid's blocks on player 1 (play/block_effects.cpp). A test can stand in for
// the hit processing, so that the deaths it causes can be staged without building the charas.
#include "objects/object_types.h"
#include "play/object_lists.h"

class cChara;

// What the play frame calls of riding and block effects: each gives 0 when nothing decisive
// happened, 2 when the chara is killed, and the block item 1 when the stage is cleared. A
// part of cPlayScene, which derives from it.
class cRidingAndBlockEffects {
public:
    // The chara against the block-like charas after its own block collision: pushes, a
    // landing that starts a ride, and the ride kept or lost. 2 when the chara is crushed, or a
    // flyer of collision mode 2 touches one.
    int ProcessHits(cChara& chara, cCharaList& charas);
    // The chara pushed out along one axis: 1 vertical (top and bottom edges), 0 horizontal.
    void PushOutOfBlockCharas(cChara& chara, cCharaList& charas, int axis);
    int IsStillOnRiddenChara(cChara& chara);
    cChara* FindBlockCharaUnderFeet(cChara& chara);
    // 1 when each side of the chara's bounds, or the same side of `rect`, touches a block-like
    // chara.
    int IsEnclosedByBlockCharas(cChara& chara, const DBLRECT& rect);
    int OverlapsOtherBlockChara(cChara& chara, cCharaList& charas, int ignoreSerial);
    // Before the horizontal move of a rider: the platform's displacement since it was last
    // seen becomes the rider's velocity.
    int FollowRiddenChara(cChara& chara, cCharaList& charas);
    int ApplyBlockEffect(cChara& player);
    int ApplyBlockItemEffect(cChara& player);
};

// null: the stand-in is removed.
void SetProcessHitsStandIn(int (*standIn)(cChara& chara));
