#pragma once
// Whole database files for the tests: each of the ten kinds with a distinct value in every
// field, string and list element, at any version.
#include <string>

#include "data/database.h"
#include "tests/data/database_file_builder.h"

namespace qbtest {

// A file of `file` (a DATABASEFILE) with `entries` entries; every stored value differs from
// every other (counting from `seed`), strings included. Kinds are 1 to 16 so that the effect
// fix-ups leave them alone unless a test asks for a kind.
inline cDatabaseFileBuilder DistinctDatabaseBuilder(int file, int entries, std::uint32_t version = 692, int seed = 1000)
{
    int next = seed;
    auto text = [&next](const char* stem) { return std::string(stem) + std::to_string(next++); };
    cDatabaseFileBuilder b(version, static_cast<std::uint32_t>(entries));
    for (int e = 0; e < entries; ++e) {
        switch (file) {
        case DATABASE_ANIMESET: {
            AnimeSetValues v{text("組"), next++, next++, next++, {}};
            for (int s = 0; s < 4; ++s) {
                AnimeValues slot{text("枠"), next++ % 30000, next++ % 250, next++ % 30000, {}};
                slot.frames = {{next++, next++, next++}};
                v.slots.push_back(slot);
            }
            b.AnimeSet(v);
            break;
        }
        case DATABASE_ANIME: {
            AnimeValues v{text("動き"), next++ % 30000, next++ % 250, next++ % 30000, {}};
            for (int f = 0; f < 3; ++f) v.frames.push_back({next++, next++, next++});
            b.Anime(v);
            break;
        }
        case DATABASE_BMPCHARAEXC:
            b.BmpCharaExc({text("絵"), next++, text("bmp\\chara_sp\\ソ表"), next++, next++});
            break;
        case DATABASE_SWORDTYPE: {
            SwordTypeValues v{text("剣"), next++, text("bmp\\sword\\a"), text("bmp\\sword\\b"), {}};
            for (int f = 0; f < 2; ++f) {
                SwordFrameValues frame;
                for (int& value : frame.v) value = next++;
                v.frames.push_back(frame);
            }
            b.SwordType(v);
            break;
        }
        case DATABASE_EFFECT: {
            EffectValues v{text("効果"), next++, text("bmp\\effect\\e"), next++, next++, next++, {}};
            for (int f = 0; f < 2; ++f) v.frames.push_back({next++, next++});
            b.Effect(v);
            break;
        }
        case DATABASE_CHARAEFFECT:
        case DATABASE_SCREFFECT: {
            EffectKindValues v{text("演出"), 1 + (next++ % 13), {}};
            for (int& p : v.nParams) p = next++;
            b.EffectKind(v);
            break;
        }
        default:
            b.FileEntry({text("名前"), next++, text("file\\")});
            break;
        }
    }
    return b;
}

inline std::string DistinctDatabaseFile(int file, int entries, std::uint32_t version = 692, int seed = 1000)
{
    return DistinctDatabaseBuilder(file, entries, version, seed).Str();
}

}  // namespace qbtest
