#pragma once
// The inspector worker: the Data Inspector's values computed off the user-interface thread.

#include "app/AnalysisWorker.h"
#include "inspector/InspectorRows.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tvx {

// A snapshot taken on the user-interface thread, so that the worker touches no document:
// the bytes at the caret (ReadBytes(caret, kInspectorByteCount); none when no file is open)
// and the string table's unavailable text (InspectorUnavailableText).
struct InspectorRequest {
    std::vector<std::uint8_t> bytes;
    std::u16string unavailable;
};

// Computes ComputeInspectorRows for the newest request. Results are InspectorWorker::Result
// objects: the request's generation and the 11 values.
class InspectorWorker final : public AnalysisWorker<InspectorRequest, InspectorValues> {
public:
    explicit InspectorWorker(Poster post)
        : AnalysisWorker([](const InspectorRequest& request) { return ComputeInspectorRows(request.bytes, request.unavailable); },
                         std::move(post)) {}
};

}  // namespace tvx
