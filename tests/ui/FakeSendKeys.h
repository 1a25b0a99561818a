// The user's send keys per program, in memory.
#pragma once

#include "ui/SendKeyChoice.h"

#include <map>

namespace ombrix::test {

class FakeSendKeys final : public ui::SendKeyBook {
public:
    std::map<QString, ui::SendKey> keys;
    ui::SendKey For(const QString& program) const override
    {
        const auto it = keys.find(program);
        return it == keys.end() ? ui::SendKey::AltS : it->second;
    }
    bool Choose(const QString& program, ui::SendKey key) override
    {
        keys[program] = key;
        return true;
    }
    void Note(const QString& program) override { keys.try_emplace(program, ui::SendKey::AltS); }
    QStringList Programs() const override
    {
        QStringList out;
        for (const auto& entry : keys)
            out.append(entry.first);
        return out;
    }
};

} // namespace ombrix::test
