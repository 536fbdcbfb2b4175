#include "H5Types.hpp"

#include "H5Calls.hpp"

namespace h5 {

template <>
DataTypeHandle nativeTypeOf<int>() {
  return copyType(Predefined::NativeInt);
}

template <>
DataTypeHandle nativeTypeOf<double>() {
  return copyType(Predefined::NativeDouble);
}

DataTypeHandle utf8StringType() {
  DataTypeHandle type = copyType(Predefined::CString);
  setVariableLength(type);
  setUtf8(type);
  return type;
}

}  // namespace h5
