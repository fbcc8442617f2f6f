#pragma once

#include <gtest/gtest.h>

#include <string>

namespace mw::test {

// Names each instance of a parametrised test after its row, so a run reads
// "ParseCommandLine/ParseInit.GivesThePreferencesPath/WithoutANameIsIgnored" instead of ".../3". Rows are
// records with a `const char* name` made of letters, digits and underscores (give them a PrintTo that prints
// the name, so a failure shows it instead of the record's bytes).
struct RowName {
    template <typename Row> std::string operator()(const testing::TestParamInfo<Row>& info) const {
        return info.param.name;
    }
};

} // namespace mw::test
