#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace wattrix {

// Width of a piece of text in the units of the wrapping width.
using TextMeasure = std::function<double(std::string_view)>;

// Word-wraps UTF-8 text into lines no wider than `width`: breaks at spaces,
// keeps the user's line breaks ("\n", "\r\n" or "\r"), and cuts a word that
// is wider than a whole line between characters. An empty text gives no
// lines; an empty paragraph gives an empty line.
std::vector<std::string> WrapText(std::string_view text, double width, const TextMeasure& measure);

// The longest start of `text` that, followed by `ellipsis`, is no wider than
// `width`, with the ellipsis; the text itself when it fits.
std::string ElideText(std::string_view text, double width, const TextMeasure& measure,
                      std::string_view ellipsis = "\xE2\x80\xA6");

}  // namespace wattrix
