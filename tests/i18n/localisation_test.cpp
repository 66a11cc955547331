#include "i18n/localisation.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>

#include <gtest/gtest.h>

#include "base/text_encoding.h"
#include "i18n/translation.h"

namespace tavrin::test {
namespace {

struct ModuleFree {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};
using Module = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFree>;

std::string FileBytes(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(TranslationResource, IsTheShippedTableInsideTheProgram) {
  const Module program(LoadLibraryExW(TAVRIN_PROGRAM_FILE, nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_TRUE(program) << "error " << GetLastError();
  const std::string_view bytes = TranslationResource(program.get());
  const std::string shipped = FileBytes(TAVRIN_TRANSLATE_FILE);
  ASSERT_EQ(shipped.size(), 3394u);
  EXPECT_EQ(bytes, shipped);
  EXPECT_EQ(TranslationLines(bytes).size(), 127u);
}

// The test program carries no table: the start-up leaves it empty and every
// text shows as designed.
TEST(InitLocalisation, WithoutTheResourceTextsStayAsDesigned) {
  LoadTranslationTable(WideToUtf8(L"ko=처음화면\r\nen=Home\r\nfr=Accueil"));
  ASSERT_EQ(TranslationResource(GetModuleHandleW(nullptr)), std::string_view());
  InitLocalisation();
  EXPECT_EQ(Translate(L"처음화면", L"fr"), L"처음화면");
  EXPECT_EQ(Translate(L"Home\\nPage", L"fr"), L"Home\rPage");
}

// Run by ctest under Wine with LC_ALL set to a generated locale, telling the
// ISO 639 name and the interface language that locale must give.
TEST(UserLocale, DecidesTheInterfaceLanguage) {
  const char* isoName = std::getenv("TAVRIN_EXPECTED_ISO_NAME");
  const char* language = std::getenv("TAVRIN_EXPECTED_LANGUAGE");
  ASSERT_TRUE(isoName && language) << "runs only with a locale chosen by ctest";
  EXPECT_EQ(WideToUtf8(GetUserLanguage()), isoName);
  InitLocalisation();
  EXPECT_EQ(WideToUtf8(CurrentLanguage), language);
}

}  // namespace
}  // namespace tavrin::test
