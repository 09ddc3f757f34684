// Text for the tools' SVG pictures: XML-escaped labels and numbers with one decimal.
#pragma once

#include <string>

// `text` with &, <, > and " written as XML entities.
std::string svg_escaped(const std::string &text);

// "12.5": a coordinate or a value with one decimal.
std::string svg_number(double v);
