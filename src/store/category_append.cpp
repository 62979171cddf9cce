#include "category_append.h"

#include <algorithm>
#include <limits>

#include "atomic_file.h"
#include "byte_source.h"
#include "category_file.h"
#include "field_reader.h"
#include "field_writer.h"

namespace quillet {
namespace {

struct Survey {
    std::string categoryName;
    std::int32_t count = 0;
    std::uint64_t recordsStart = 0;
    bool canonical = true;
    bool nameTaken = false;
};

StoreError Surveyed(const std::filesystem::path& file, const std::string& name, Survey& survey) {
    FileSource source;
    if (StoreError error = source.Open(file)) {
        return error;
    }
    FieldReader reader(source);
    std::string header;
    std::string version;
    if (!reader.ReadString(header, &survey.canonical) || !reader.ReadString(version, &survey.canonical) ||
        !reader.ReadString(survey.categoryName, &survey.canonical) || !reader.ReadInt32(survey.count)) {
        return StoreError{reader.ReadError() ? StoreErrorKind::CannotRead : StoreErrorKind::Damaged, file,
                          reader.Failure()};
    }
    survey.canonical = survey.canonical && header == kCategoryHeader && version == kCategoryVersion &&
                       survey.count >= 0 && survey.count < std::numeric_limits<std::int32_t>::max();
    survey.recordsStart = reader.Position();
    std::string cardName;
    for (std::int32_t i = 0; i < survey.count; ++i) {
        if (!reader.ReadString(cardName, &survey.canonical) || !reader.SkipString(&survey.canonical) ||
            !reader.SkipString(&survey.canonical)) {
            return StoreError{reader.ReadError() ? StoreErrorKind::CannotRead : StoreErrorKind::Damaged, file,
                              reader.Failure()};
        }
        survey.nameTaken = survey.nameTaken || cardName == name;
    }
    // A rewrite drops whatever follows the last card; a copy would keep it.
    survey.canonical = survey.canonical && reader.Remaining() == 0;
    return {};
}

StoreError Rewritten(const std::filesystem::path& file, const CardRecord& card) {
    std::string name;
    std::int32_t count = 0;
    CardTable cards;
    if (StoreError error = ReadCategoryFile(file, ReadMode::Full, HeaderCheck::Skip, {name, count, &cards})) {
        return error;
    }
    cards.Append(card);
    return WriteCategoryFile(file, name, cards);
}

StoreError Copied(const std::filesystem::path& file, const Survey& survey, const CardRecord& card) {
    FileSource source;
    if (StoreError error = source.Open(file)) {
        return error;
    }
    AtomicFileWriter writer(file);
    if (StoreError error = writer.Open()) {
        return error;
    }
    FieldWriter fields(writer);
    fields.WriteString(kCategoryHeader);
    fields.WriteString(kCategoryVersion);
    fields.WriteString(survey.categoryName);
    fields.WriteInt32(survey.count + 1);
    if (!source.Skip(survey.recordsStart)) {
        return StoreError::FromErrno(StoreErrorKind::CannotRead, file, source.ReadErrno());
    }
    if (!CopyRest(source, writer)) {
        return StoreError::FromErrno(StoreErrorKind::CannotRead, file, source.ReadErrno());
    }
    fields.WriteString(card.name);
    fields.WriteString(card.content);
    fields.WriteString(card.address);
    return writer.Commit();
}

}  // namespace

AppendResult AppendCardToFile(const std::filesystem::path& file, const CardRecord& card) {
    constexpr std::size_t kMax = std::numeric_limits<std::uint32_t>::max();
    if (card.name.size() > kMax || card.content.size() > kMax || card.address.size() > kMax) {
        return {StoreError{StoreErrorKind::CannotWrite, file, "资料太大，无法保存"}};
    }
    Survey survey;
    if (StoreError error = Surveyed(file, card.name, survey)) {
        return {error};
    }
    if (survey.nameTaken) {
        return {{}, true};
    }
    return {survey.canonical ? Copied(file, survey, card) : Rewritten(file, card)};
}

}  // namespace quillet
