#pragma once
// The smallest stage state the evaluator and the status rules work in: three charas (the
// running chara, its target, player 1), the common and stage variables, the stage values and
// the generator, made fresh for each case; and a listing of every value they can change.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "objects/chara.h"
#include "play/play_scene.h"

class cExprStage {
public:
    cExprStage();
    ~cExprStage();
    cExprStage(const cExprStage&) = delete;
    cExprStage& operator=(const cExprStage&) = delete;

    // A value of the running chara ("my"), its target ("tg") or player 1 ("pl") by its name in
    // the expressions, or "invincible"; false for an unknown name.
    bool SetCharaValue(const std::string& who, const std::string& name, int value);
    // C<n>, S<n>, time, notimelimit, scrlx, scrly, autoscrollx, autoscrolly, score, life,
    // substeps, seed; false for an unknown name.
    bool SetStageValue(const std::string& name, int value);
    void RemoveTarget();
    // Player 1 is the running chara (who "my"), the third chara ("pl") or missing ("none").
    bool SetPlayer(const std::string& who);

    cChara& Running() { return *m_lpMy; }
    // Every value by name, in a fixed order, as text.
    std::vector<std::pair<std::string, std::string>> Snapshot() const;

private:
    cChara* CharaByName(const std::string& who);
    void AddChara(std::vector<std::pair<std::string, std::string>>& out, const char* who, const cChara& c) const;

    std::unique_ptr<cPlayScene> m_lpScene;
    std::unique_ptr<cChara> m_lpMy;
    std::unique_ptr<cChara> m_lpTarget;
    std::unique_ptr<cChara> m_lpPlayer;
};
