#include "engine/driver_table.h"

namespace qv {

namespace {

constexpr const char* kErrDriverNotBuilt = "%s output is not available in this version";

} // namespace

const char* DriverTypeName(PlayDriverType type) {
    switch (type) {
    case PlayDriverType::Mme:
        return "MME";
    case PlayDriverType::DirectSound:
        return "DirectSound";
    case PlayDriverType::Asio:
        return "ASIO";
    case PlayDriverType::Wasapi:
        return "WASAPI";
    case PlayDriverType::Alsa:
        return "ALSA";
    case PlayDriverType::Jack:
        return "JACK";
    case PlayDriverType::PulseAudio:
        return "PulseAudio";
    case PlayDriverType::Oss:
        return "OSS";
    }
    return "";
}

DriverTable::DriverTable(std::vector<DriverRow> rows) : rows_(std::move(rows)) {}

const DriverRow* DriverTable::Row(PlayDriverType type) const {
    for (const DriverRow& row : rows_) {
        if (row.type == type)
            return &row;
    }
    return nullptr;
}

DriverRow* DriverTable::Find(PlayDriverType type) {
    return const_cast<DriverRow*>(Row(type));
}

DriverPath* DriverTable::PathFor(PlayDriverType type) {
    DriverRow* row = Find(type);
    return row ? row->path.get() : nullptr;
}

bool DriverTable::SystemOffers(PlayDriverType type) const {
    const DriverRow* row = Row(type);
    return row && (!row->probe || row->probe().empty());
}

bool DriverTable::Enumerate(PlayDriverType type, ErrorText& text) {
    DriverRow* row = Find(type);
    if (!row) {
        text.Format(kErrDriverNotBuilt, DriverTypeName(type));
        return true;
    }
    if (row->probe) {
        if (const std::string why = row->probe(); !why.empty()) {
            text.Set(why.c_str());
            return true;
        }
    }
    if (!row->path) {
        text.Format(kErrDriverNotBuilt, DriverTypeName(type));
        return true;
    }
    return row->path->Enumerate(text);
}

int DriverTable::Count(PlayDriverType type, bool input) const {
    const DriverRow* row = Row(type);
    return row && row->path ? row->path->Count(input) : 0;
}

std::string DriverTable::Name(PlayDriverType type, int entry, bool input) const {
    const DriverRow* row = Row(type);
    return row && row->path ? row->path->Name(entry, input) : std::string();
}

Device* DriverTable::DeviceFor(PlayDriverType type) {
    DriverRow* row = Find(type);
    return row && row->path ? row->path->Open() : nullptr;
}

void DriverTable::Release(PlayDriverType type) {
    if (DriverRow* row = Find(type); row && row->path)
        row->path->Release();
}

} // namespace qv
