#pragma once

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace tavrin::test {

// Random inputs for property tests. The seed is fixed so that every run sees
// the same cases; TAVRIN_FUZZ_SEED picks another one to explore.
class RandomInputs {
 public:
  static constexpr int kCases = 3000;

  RandomInputs() : seed_(ChosenSeed()), engine_(seed_) {
    std::cout << "[ seed     ] " << seed_ << '\n';
    ::testing::Test::RecordProperty("seed", std::to_string(seed_));
  }

  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }
  bool OneIn(int n) { return Between(1, n) == 1; }

  template <class T>
  const T& Pick(const std::vector<T>& choices) {
    return choices[static_cast<std::size_t>(Between(0, static_cast<int>(choices.size()) - 1))];
  }

  // Up to maxLength characters, each drawn from alphabet.
  std::wstring Text(std::wstring_view alphabet, int maxLength) {
    std::wstring text(static_cast<std::size_t>(Between(0, maxLength)), L'\0');
    const int last = static_cast<int>(alphabet.size()) - 1;
    for (wchar_t& c : text) c = alphabet[static_cast<std::size_t>(Between(0, last))];
    return text;
  }

  // Up to maxPieces pieces, each drawn from pieces, joined.
  template <class String>
  String Joined(const std::vector<String>& pieces, int maxPieces) {
    String joined;
    for (int n = Between(0, maxPieces); n > 0; --n) joined += Pick(pieces);
    return joined;
  }

 private:
  static std::uint32_t ChosenSeed() {
    const char* chosen = std::getenv("TAVRIN_FUZZ_SEED");
    return chosen ? static_cast<std::uint32_t>(std::strtoul(chosen, nullptr, 10)) : 20240611u;
  }

  std::uint32_t seed_;
  std::mt19937 engine_;
};

}  // namespace tavrin::test
