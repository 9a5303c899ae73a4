#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace pag::gui {

inline QString toQ(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

inline std::string fromQ(const QString& s) {
    return s.toStdString();
}

// Case- and accent-free text for the users' searches ("Joao" finds "JOÃO").
QString searchKey(const QString& text);

}  // namespace pag::gui
