#include "data/PinyinCollation.h"

#include <sqlcipher/sqlite3.h>
#include <unicode/coll.h>
#include <unicode/locid.h>

#include <memory>

namespace {

icu::Collator *zhCollator()
{
    static const std::unique_ptr<icu::Collator> collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Collator> c(icu::Collator::createInstance(icu::Locale("zh"), status));
        // The zh order puts Han before Latin; lists here follow the desktop convention of
        // digits and Latin names first, then Chinese names by pinyin.
        if (U_SUCCESS(status))
            c->setReorderCodes(nullptr, 0, status);
        if (U_FAILURE(status))
            c.reset();
        return c;
    }();
    return collator.get();
}

int compareUtf16(const char16_t *a, int lengthA, const char16_t *b, int lengthB)
{
    if (icu::Collator *collator = zhCollator()) {
        UErrorCode status = U_ZERO_ERROR;
        const UCollationResult result = collator->compare(a, lengthA, b, lengthB, status);
        if (U_SUCCESS(status))
            return int(result);
    }
    return QStringView(a, lengthA).compare(QStringView(b, lengthB));
}

int collateUtf16(void *, int bytesA, const void *a, int bytesB, const void *b)
{
    return compareUtf16(static_cast<const char16_t *>(a), bytesA / 2,
                        static_cast<const char16_t *>(b), bytesB / 2);
}

} // namespace

void registerPinyinCollation(sqlite3 *db)
{
    sqlite3_create_collation_v2(db, "PINYIN", SQLITE_UTF16_ALIGNED, nullptr, collateUtf16, nullptr);
}

int comparePinyin(const QString &a, const QString &b)
{
    return compareUtf16(reinterpret_cast<const char16_t *>(a.utf16()), int(a.size()),
                        reinterpret_cast<const char16_t *>(b.utf16()), int(b.size()));
}
