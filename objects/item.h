#pragma once
// An item of a stage: one placed on the grid or summoned, the item a stage chara carries, or a
// short-lived copy that carries an item's effect. A game object with its own copy of its
// template; its hit box is its bounds.
#include "data/item_data.h"
#include "objects/object_base.h"

struct DDSURFACEDATA;

class cItem : public cGameObject {
public:
    cItem();

    // Sets the item up from its template. A template scale of 0 is written back as 1 first.
    // An inactive item takes the template's scale and waits for the stage's activation; an
    // active one (a carried item) is active at once and keeps scale 1. The hit box is the
    // stage's item box, centred in the 32 x 32 picture.
    void InitFromDefinition(int serial, cItemData& definition, int active);
    // Puts the item on stage block (column, row), margins excluded.
    void PlaceAtBlock(int column, int row);
    // The item grows upward from the floor of its cell.
    void AdjustYForScale(int newScale, int oldScale) override;
    // The template's scale, at least 1.
    int Scale() const;
    // Draws the item's frame of this tick at its screen rectangle, and its mark over it
    // (objects/item_draw.cpp).
    void Draw(DDSURFACEDATA* target, int paused);

    cItemData m_Def;
};
