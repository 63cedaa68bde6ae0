#pragma once
// Records every message box instead of showing it, and answers with queued answers (the
// box's default answer when none is queued).

#include "platform/Messages.h"

#include <deque>
#include <vector>

namespace ml::test {

class TRecordingSink : public TMessageSink {
public:
    TRecordingSink() { SetMessageSink(this); }
    ~TRecordingSink() override { SetMessageSink(nullptr); }

    TMsgResult Show(const TMessage& message) override {
        Messages.push_back(message);
        if (Answers.empty())
            return DefaultAnswer(message.Buttons);
        TMsgResult answer = Answers.front();
        Answers.pop_front();
        return answer;
    }

    std::vector<TMessage> Messages;
    std::deque<TMsgResult> Answers;
};

} // namespace ml::test
