#pragma once

#include <gtest/gtest.h>
#include <string>

// Names each test of a parametrised table after its row's name, so lists and failures say which
// case ran. Rows also print as their name (a PrintTo beside each row type), not as their bytes.
struct RowName {
    template <typename T> std::string operator()(const ::testing::TestParamInfo<T>& Info) const
    {
        return Info.param.name;
    }
};
