// Test names for parameterised cases, from their What field.
#pragma once

#include <cctype>
#include <string>

#include <gtest/gtest.h>

template <class Case>
std::string CaseName(const testing::TestParamInfo<Case>& Info)
{
    std::string name;
    for (char c : std::string(Info.param.What))
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}
