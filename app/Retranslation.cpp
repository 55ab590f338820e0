#include "app/Retranslation.h"

#include <QCoreApplication>
#include <QPointer>
#include <QVariant>
#include <utility>
#include <vector>

namespace {

struct KeptText {
  QPointer<QObject> owner;
  std::function<void()> apply;
};

std::vector<KeptText>& Kept() {
  static std::vector<KeptText> kept;
  return kept;
}

}  // namespace

void KeepTranslated(QObject* owner, std::function<void()> apply) {
  apply();
  auto& kept = Kept();
  // Dropped owners are cleared out as new ones come, so that windows built
  // and closed again and again do not pile up.
  std::erase_if(kept, [](const KeptText& k) { return k.owner.isNull(); });
  kept.push_back({owner, std::move(apply)});
}

void KeepTranslated(QObject* target, const char* property, const char* context, const char* source) {
  KeepTranslated(target, [target, property, context, source] {
    target->setProperty(property, QCoreApplication::translate(context, source));
  });
}

void RetranslateWindowTexts() {
  // A copy: a kept function may keep another (a rebuilt list).
  const std::vector<KeptText> kept = Kept();
  for (const KeptText& k : kept)
    if (!k.owner.isNull()) k.apply();
}
