#include "ui/ShownText.h"

#include <QCoreApplication>

namespace vk {

QString Tr(const char* japanese) {
  if (japanese == nullptr) return QString();
  return QCoreApplication::translate(kTextContext, japanese);
}

QString Tr(const std::string& japanese) { return Tr(japanese.c_str()); }

}  // namespace vk
