#pragma once
// A palette: lists of block, chara and item templates. The game's common palette
// "data\CommonPalette.cplt4" is loaded at start-up into g_CommonPalette and shared by every
// stage; entry 0 of each list is an empty template.
#include "data/data_record.h"
#include "data/template_lists.h"

class cPaletteData : public cDataRecordOf<cPaletteData> {
public:
    // One default template in each list.
    cPaletteData();

    // No fields and no strings; the three lists in the tail.
    void RegisterFields(DWORD version) override;
    // The lists, resolving references against this palette (source 1) and a stage palette of
    // default templates (source 2); entry 0 of each list reset; every inheritance flag 0, the
    // groups copied while reading kept; then Normalize.
    void Read(cDataReader& reader) override;
    // Normalize, then the body and the lists.
    void Write(cDataWriter& writer) override;
    // Each list padded to two entries; every template checked against this palette.
    void Normalize();

    // This palette as the common palette, beside a stage palette of default templates.
    TEMPLATESOURCES OwnSources() const;

    cSafeVector<cBlockData> m_Blocks;
    cSafeVector<cCharaData> m_Charas;
    cSafeVector<cItemData> m_Items;
};

extern cPaletteData g_CommonPalette;
