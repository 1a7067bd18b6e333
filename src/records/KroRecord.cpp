#include "records/KroRecord.h"

#include <cstdio>
#include <stdexcept>

#include "core/Text.h"
#include "platform/ModalMessageBox.h"
#include "core/SuiteText.h"

namespace {

constexpr std::string_view kBlankMark = "\\b";

}  // namespace

KroRecord::KroRecord(ModalMessageBox* messageBox) : messageBox_(messageBox) {}

KroRecord::~KroRecord() = default;

const char* KroRecord::errorText(int bit) const {
    switch (bit) {
        case kFieldOutOfRangeBit:
            return "Numero di campo esterno all'intervallo dichiarato";
        case kRecordTooLongBit:
            return "Superata la dimensione dichiarata per il record ";
        default:
            return "Errore non definito ";
    }
}

void KroRecord::setFieldCount(int count) {
    fields_.clear();
    if (count > 0) {
        fields_.resize(static_cast<std::size_t>(count));
    }
}

void KroRecord::clearFields() {
    fields_.clear();
}

bool KroRecord::defineField(int index, const char* description, const char* alias, int length,
                            int start, const char* typeName) {
    if (index < 0 || index >= count()) {
        status_.set(kFieldOutOfRangeBit);
        return false;
    }
    std::unique_ptr<KroField>& slot = fields_[static_cast<std::size_t>(index)];
    if (!slot) {
        slot = std::make_unique<KroField>();
    }
    if (description != nullptr) {
        slot->setDescription(description);
    }
    slot->setStart(start);
    slot->setLength(length);
    slot->setType(typeName != nullptr ? KroFieldType::parse(typeName) : KroFieldType::ftString);
    if (alias != nullptr) {
        slot->setAlias(alias);
    }
    return true;
}

bool KroRecord::defineField(int index, const char* description, const char* alias, int length,
                            int start) {
    return defineField(index, description, alias, length, start, "ftUnknown");
}

KroField* KroRecord::field(int index) {
    if (index < 0 || index >= count()) {
        if (messageBox_ != nullptr) {
            char message[64];
            std::snprintf(message, sizeof message, "Tentativo di lettura del campo n.%d", index);
            messageBox_->show(text::toWide(message), u"Errore!",
                              ModalMessageBox::kOk | ModalMessageBox::kIconError);
        }
        return nullptr;
    }
    return fields_[static_cast<std::size_t>(index)].get();
}

const KroField* KroRecord::definedField(int index) const {
    if (index < 0 || index >= count()) {
        return nullptr;
    }
    return fields_[static_cast<std::size_t>(index)].get();
}

bool KroRecord::aliasMatches(const KroField& field, std::string_view alias) const {
    if (field.alias() == nullptr) {
        return false;
    }
    return caseSensitive_ ? alias == field.alias()
                          : suitetext::sameIgnoringCase(alias, field.alias());
}

int KroRecord::indexOfAlias(std::string_view alias) const {
    for (int i = 0; i < count(); ++i) {
        const KroField* candidate = definedField(i);
        if (candidate != nullptr && aliasMatches(*candidate, alias)) {
            return i;
        }
    }
    return -1;
}

KroField* KroRecord::fieldByAlias(std::string_view alias) {
    const int index = indexOfAlias(alias);
    return index < 0 ? nullptr : fields_[static_cast<std::size_t>(index)].get();
}

KroField* KroRecord::fieldByAliasOrThrow(std::string_view alias) {
    KroField* found = fieldByAlias(alias);
    if (found == nullptr) {
        throw std::runtime_error("Campo " + std::string(alias) + " non previsto sul record " +
                                 typeName_);
    }
    return found;
}

void KroRecord::clearValues() {
    for (const std::unique_ptr<KroField>& slot : fields_) {
        if (slot) {
            slot->clearValue();
        }
    }
}

void KroRecord::unpack(std::string_view recordText) {
    for (const std::unique_ptr<KroField>& slot : fields_) {
        if (!slot) {
            continue;
        }
        const int start = slot->start();
        if (start < 1 || recordText.size() < static_cast<std::size_t>(start)) {
            slot->clearValue();
            continue;
        }
        slot->setValue(recordText.substr(static_cast<std::size_t>(start) - 1,
                                         slot->length() > 0 ? slot->length() : 0));
    }
}

void KroRecord::setId(std::string_view text) {
    identifier_ = text;
    const std::size_t mark = identifier_.find(kBlankMark);
    if (mark != std::string::npos) {
        identifier_.replace(mark, kBlankMark.size(), " ");
    }
}

void KroRecord::assign(const KroRecord& other) {
    if (&other == this) {
        return;
    }
    // The identifier is copied as it is: it was made with setId already, and
    // a second replacement would change a "\b" that the first one left.
    identifier_ = other.identifier_;
    typeName_ = other.typeName_;
    caseSensitive_ = other.caseSensitive_;
    setFieldCount(other.count());
    for (int i = 0; i < other.count(); ++i) {
        const KroField* source = other.definedField(i);
        if (source == nullptr) {
            continue;
        }
        defineField(i, source->description(), source->alias(), source->length(), source->start());
        fields_[static_cast<std::size_t>(i)]->setType(source->type());
    }
}
