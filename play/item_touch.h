#pragma once
// What taking an item does, shared by pickups, shots that carry an item, defeated charas that
// held one and blocks.
class cChara;
class cItem;

// The item's message, sound and actions on `chara`: 0 when nothing is applied (no item, no
// picture, never taken, not active) or nothing decisive happened, 1 when the stage is cleared,
// 2 when the chara's HP is gone.
int ApplyItemEffect(const cItem* item, cChara& chara);
