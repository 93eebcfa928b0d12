// orlix-keys: replays a sequence of keypad keys through the calculator engine and
// prints the display after every key.
#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "engine.hpp"
#include "key_names.hpp"

namespace {

constexpr std::string_view kUsage =
    "usage: orlix-keys [KEY...]\n"
    "\n"
    "Runs the keys through the calculator engine of Orlix Calculator 2 and prints one\n"
    "line per key: the 18-character display after the key between two '|', or, for\n"
    "COPY, 'copy|' followed by the text COPY puts on the clipboard and '|'.\n"
    "Without arguments the keys are read from standard input; blanks and line ends\n"
    "separate them.\n"
    "\n"
    "Keys (the keypad captions):\n"
    "  0 to 9        digits            .          decimal point\n"
    "  + - * /       operators         =          equals\n"
    "  %             percentage        <-         backspace\n"
    "  E             clear entry       C          clear\n"
    "  M+ M-         add to, subtract from memory\n"
    "  Mc Mr         clear, recall memory\n"
    "  COPY          show the clipboard text\n"
    "\n"
    "Example: orlix-keys 1 2 + 3 =\n"
    "Exit status: 0 on success, 2 when a key is unknown (then nothing is run).\n";

std::vector<std::string> read_words(std::istream& in) {
  return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + 1, argv + argc);
  if (words.size() == 1 && (words[0] == "--help" || words[0] == "-h")) {
    std::cout << kUsage;
    return 0;
  }
  if (words.empty()) words = read_words(std::cin);

  std::vector<orlix::CalculatorKey> keys;
  keys.reserve(words.size());
  for (std::size_t i = 0; i < words.size(); ++i) {
    const auto key = orlix::key_from_caption(words[i]);
    if (!key) {
      std::cerr << "orlix-keys: unknown key '" << words[i] << "' at position " << i + 1
                << " (see orlix-keys --help)\n";
      return 2;
    }
    keys.push_back(*key);
  }

  orlix::CalculatorState state;
  orlix::initialise(state);
  std::string out;
  for (const orlix::CalculatorKey key : keys) {
    if (key == orlix::keys::kCopy) {
      out.append("copy|").append(orlix::windows1251_to_utf8(orlix::copy_text(state))).append("|\n");
      continue;
    }
    orlix::press_key(state, key);
    const std::string_view display(state.display.data(), state.display.size());
    out.append("|").append(orlix::windows1251_to_utf8(display)).append("|\n");
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
