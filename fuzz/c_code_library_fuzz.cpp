// The C-code library: the line parser, the whole-file reader and the parameter blanking.

#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzFile.h"
#include "core/codegen/CCodeLibrary.h"
#include "core/codegen/CCodeStatement.h"

using namespace kavel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (auto entry = parseCCodeLibLine(bytes)) (void)tableFor(*entry);

  const std::string code(bytes);
  const std::string blanked = blankParameters(code);
  fuzz::require(blanked.size() == code.size());
  for (bool function : {false, true}) {
    for (bool condition : {false, true}) (void)libraryInsertText(code, function, condition);
  }
  (void)libraryLookupName(code);
  const CCodeParts parts = splitCCodeComment(code);
  (void)joinCCodeComment(parts.code, parts.remark);

  CCodeLibrary library;
  if (ReadCCodeLibrary(fuzz::inputFile("C-CodeLib.Txt", data, size), library).ok) {
    (void)selectLibraryRow(library, code);
  }
  return 0;
}
