#pragma once
// A host window that lives only in memory, for driving preview mode without a display.

#include "platform/ForeignWindow.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace ml::test {

class TFakeHostWindow : public TForeignWindow {
public:
    // The states State() reports, one per call; the last one repeats.
    std::vector<TState> States{TState::Viewable};
    mutable int StateCalls = 0;
    std::vector<TBitmap> Drawn;

    TState State() const override {
        const std::size_t at = std::min<std::size_t>(StateCalls++, States.size() - 1);
        return States[at];
    }
    void DrawStretched(const TBitmap& picture) override { Drawn.push_back(picture); }
};

// An opener that hands out one fake window (kept alive by the test) and records the id asked.
struct TFakeOpener {
    TFakeHostWindow Window;
    std::vector<std::uint32_t> OpenedIds;

    std::function<std::unique_ptr<TForeignWindow>(std::uint32_t)> Function() {
        return [this](std::uint32_t id) -> std::unique_ptr<TForeignWindow> {
            OpenedIds.push_back(id);
            return std::make_unique<TWindowRef>(Window);
        };
    }

private:
    struct TWindowRef : TForeignWindow {
        explicit TWindowRef(TFakeHostWindow& target) : Target(target) {}
        TState State() const override { return Target.State(); }
        void DrawStretched(const TBitmap& picture) override { Target.DrawStretched(picture); }
        TFakeHostWindow& Target;
    };
};

} // namespace ml::test
