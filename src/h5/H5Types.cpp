#include "h5/H5Types.hpp"

#include "h5/H5Calls.hpp"

namespace h5 {

template <>
DataTypeHandle nativeTypeOf<int>() {
  return copyType(Predefined::NativeInt);
}

template <>
DataTypeHandle nativeTypeOf<double>() {
  return copyType(Predefined::NativeDouble);
}

DataTypeHandle variableStringType(CharacterSet characterSet) {
  DataTypeHandle type = copyType(Predefined::CString);
  setVariableLength(type);
  setCharacterSet(type, characterSet);
  return type;
}

DataTypeHandle utf8StringType() { return variableStringType(CharacterSet::Utf8); }

}  // namespace h5
