#pragma once

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>
#include <vector>

#include "Ufiche/generation/Worksheet.h"

// Gives scripted draws and checks that each one is asked with the expected
// range, so a test states the exact order of the draws.
class ScriptedRandomSource : public Ufiche::RandomSource {
public:
    struct Step {
        int n;
        int value;
    };

    explicit ScriptedRandomSource(std::vector<Step> steps) : steps_(std::move(steps)) {}

    int Draw(int n) override {
        if (next_ == steps_.size()) {
            throw std::runtime_error("more draws than scripted");
        }
        const Step step = steps_[next_++];
        EXPECT_EQ(n, step.n) << "draw number " << next_;
        return step.value;
    }

    bool AllUsed() const { return next_ == steps_.size(); }

private:
    std::vector<Step> steps_;
    std::size_t next_ = 0;
};
