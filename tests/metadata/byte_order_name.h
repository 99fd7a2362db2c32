#pragma once

#include <gtest/gtest.h>

#include <string>

namespace vistrel::test {

// Names the byte-order parameter of a parameterised test.
inline std::string byteOrderName(const ::testing::TestParamInfo<bool>& param) {
  return param.param ? "Motorola" : "Intel";
}

}  // namespace vistrel::test
