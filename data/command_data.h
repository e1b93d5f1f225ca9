#pragma once
// One flow command or item action: its kind, integer parameters, expression code, optional
// movement and shot parts, duration, sound, anime and the flows it carries. A command owns
// its parts alone: every copy makes new parts.
#include <cstdint>
#include <memory>
#include <string>

#include "data/data_record.h"
#include "data/move_part.h"
#include "data/shot_part.h"
#include "platform/os/windows_types.h"
#include "shell/safe_container.h"

class cFlowData;

// The numbers of templates in a palette, which the template references of commands must stay
// below. The palettes are loaded by the template code, which passes their sizes in.
struct PALETTECOUNTS {
    std::size_t blocks = 0;
    std::size_t charas = 0;
    std::size_t items = 0;
};

class cCommandData : public cDataRecordOf<cCommandData> {
public:
    cCommandData();
    cCommandData(const cCommandData& other);
    cCommandData& operator=(const cCommandData& other);
    ~cCommandData() override;

    void RegisterFields(DWORD version) override;
    // The fields, the code, then the tail: the movement part, the shot part (each a flag and,
    // when set, a new part with the defaults read over), the flows and the parameters. Then the
    // upgrades of older files; the
    // removal of test-play flows (unless started by the editor or kept by the System data);
    // then Validate.
    void Read(cDataReader& reader) override;
    // Validate, then the body and the tail.
    void Write(cDataWriter& writer) override;

    // The registered fields cleared, both parts released, the sound on screen only.
    void Clear();
    // Database references inside the loaded databases, the parameter list as long as the
    // kind's count, then the carried flows. A kind outside its table is left as it is.
    void Validate();
    // Template references inside the two palettes, then the carried flows.
    void CheckTemplateRefs(const PALETTECOUNTS& common, const PALETTECOUNTS& stage);

    BYTE m_bItemAction = 0;             // 0 a flow command (COMMANDKIND), else an item action
    std::int8_t m_nKind = 0;
    cSafeVector<std::int32_t> m_Params;
    std::string m_strCode;              // the code command's expression code
    std::shared_ptr<cEdMove> m_pMove;
    std::shared_ptr<cEdShot> m_pShot;
    std::int16_t m_nTime = 0;           // tenths of a second
    std::int16_t m_nTimePerFactor = 0;
    BYTE m_bParallel = 0;               // the next command starts at once
    std::int16_t m_nSound = 0;          // Sound database entry, 0 none
    BYTE m_bSoundOnScreenOnly = 1;
    std::int16_t m_nAnime = 0;          // Anime database entry, 0 none
    cSafeVector<cFlowData> m_Flows;

private:
    // The upgrades of a file older than the current version, in the order the format grew.
    void Upgrade(DWORD version);
};
