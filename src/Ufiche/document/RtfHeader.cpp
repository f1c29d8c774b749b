#include "Ufiche/document/RtfHeader.h"

namespace Ufiche {

const std::string_view RtfHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deftab1440\\deff0\\deflang1036"
    "{\\fonttbl"
    "{\\f0\\fswiss\\fprq2\\fcharset0 Arial;}"
    "{\\f1\\froman\\fprq2\\fcharset0 Times New Roman;}"
    "{\\f2\\fmodern\\fprq1\\fcharset0 Courier New;}"
    "{\\f3\\froman\\fprq2\\fcharset2 Symbol;}"
    "{\\f4\\fswiss\\fcharset0 Arial;}}"
    "{\\colortbl ;"
    "\\red0\\green0\\blue0;"
    "\\red128\\green0\\blue0;"
    "\\red0\\green128\\blue0;"
    "\\red128\\green128\\blue0;"
    "\\red0\\green0\\blue128;"
    "\\red128\\green0\\blue128;"
    "\\red0\\green128\\blue128;"
    "\\red128\\green128\\blue128;"
    "\\red192\\green192\\blue192;"
    "\\red255\\green0\\blue0;"
    "\\red0\\green255\\blue0;"
    "\\red255\\green255\\blue0;"
    "\\red0\\green0\\blue255;"
    "\\red255\\green0\\blue255;"
    "\\red0\\green255\\blue255;"
    "\\red255\\green255\\blue255;}"
    "\\viewkind4\\uc1\\pard\\f0 ";

}  // namespace Ufiche
