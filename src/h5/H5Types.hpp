#pragma once
// The memory and storage types of the program's data: native int and double,
// and variable-length UTF-8 strings.

#include "h5/H5Calls.hpp"
#include "h5/H5Handle.hpp"

namespace h5 {

template <typename T>
DataTypeHandle nativeTypeOf();
template <>
DataTypeHandle nativeTypeOf<int>();
template <>
DataTypeHandle nativeTypeOf<double>();

DataTypeHandle variableStringType(CharacterSet characterSet);
// What the program writes.
DataTypeHandle utf8StringType();

}  // namespace h5
