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

    explicit ScriptedRandomSource(std::vector<Step> steps) : m_steps(std::move(steps)) {}

    int Draw(int n) override {
        if (m_next == m_steps.size()) {
            throw std::runtime_error("more draws than scripted");
        }
        const Step step = m_steps[m_next++];
        EXPECT_EQ(n, step.n) << "draw number " << m_next;
        return step.value;
    }

    bool AllUsed() const { return m_next == m_steps.size(); }

private:
    std::vector<Step> m_steps;
    std::size_t m_next = 0;
};
