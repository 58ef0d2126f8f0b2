#pragma once
#include <string>
#include <vector>

#include "platform/user_message.h"

// Records every message the code under test shows and answers questions from a script.
class RecordingSink : public MessageSink {
public:
    struct Shown {
        unsigned id;
        MessageStyle style;
        std::string text;
        long number;
        long secondNumber;
        long thirdNumber;
        long fourthNumber;
    };

    MessageAnswer Show(const UserMessage& message) override {
        shown.push_back({message.id, message.style, message.text ? message.text : "", message.number,
                         message.secondNumber, message.thirdNumber, message.fourthNumber});
        if (!AsksForAnswer(message.style)) {
            return MessageAnswer::Ok;
        }
        if (answers.empty()) {
            return MessageAnswer::Yes;
        }
        MessageAnswer next = answers.front();
        answers.erase(answers.begin());
        return next;
    }

    std::vector<unsigned> Ids() const {
        std::vector<unsigned> ids;
        for (const Shown& s : shown) ids.push_back(s.id);
        return ids;
    }

    std::vector<Shown> shown;
    std::vector<MessageAnswer> answers;  // for questions, in order; Yes when empty
};
