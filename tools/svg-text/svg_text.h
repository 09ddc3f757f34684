// Text for the tools' SVG pictures: XML-escaped labels and numbers with one decimal.
#pragma once

#include <ostream>
#include <string>

// `text` with &, <, > and " written as XML entities.
std::string svg_escaped(const std::string &text);

// "12.5": a coordinate or a value with one decimal.
std::string svg_number(double v);

// The picture's opening tag, `width` by `height` in sans-serif 12, on a white ground.
std::string svg_opening(double width, double height);

// A <text> element at (x, y) with `style`'s attributes, its content escaped.
void svg_label(std::ostream &svg, double x, double y, const std::string &content,
               const std::string &style);
