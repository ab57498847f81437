#pragma once
// The fixed texts of the about box, the same in every interface language. The licence is
// one text in English and Japanese, with CR LF line breaks for a multi-line edit field.

#include <string_view>

namespace tvx {

inline constexpr std::u16string_view kProductLine = u"Tavro Hex Editor";
inline constexpr std::u16string_view kRightsNotice = u"Copyright (c) 2026 The Tavro Authors";
// A placeholder until the product has a public site.
inline constexpr std::u16string_view kHomepageAddress = u"https://tavro.example.com/";

inline constexpr std::u16string_view kLicenseText =
    u"Permission is granted, free of charge, to any person obtaining a copy of this software "
    u"to use, copy, modify, merge, publish and distribute it, with or without changes, for any "
    u"purpose, provided that the copyright notice and this permission notice are kept in all "
    u"copies of the software.\r\n"
    u"\r\n"
    u"THE SOFTWARE IS PROVIDED \"AS IS\", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR IMPLIED. IN NO "
    u"EVENT SHALL THE AUTHORS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER LIABILITY ARISING FROM THE "
    u"USE OF THE SOFTWARE.\r\n"
    u"\r\n"
    u"本ソフトウェアの複製を入手したすべての人に対し、著作権表示および本許諾表示を本ソフトウェアの"
    u"すべての複製に記載することを条件として、目的を問わず、変更の有無にかかわらず、本ソフトウェアを"
    u"無償で使用、複製、改変、結合、公開および頒布することを許可します。\r\n"
    u"\r\n"
    u"本ソフトウェアは「現状のまま」で提供され、明示または黙示を問わず、いかなる保証もありません。"
    u"作者は、本ソフトウェアの使用から生じるいかなる請求、損害その他の一切の責任も負わないものとします。";

}  // namespace tvx
