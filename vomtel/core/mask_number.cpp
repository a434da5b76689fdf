#include "vomtel/core/mask_number.h"

namespace vomtel {

std::string MaskNumber(std::string_view number) {
  std::string masked(number.substr(0, number.find('\0')));
  constexpr std::size_t kShortest = 7;
  constexpr std::size_t kHidden = 4;
  if (masked.size() >= kShortest) masked.replace(masked.size() - kHidden, kHidden, kHidden, '*');
  return masked;
}

}  // namespace vomtel
