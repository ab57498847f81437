#pragma once
// The struct worker: the Struct View's rows computed off the user-interface thread.

#include "app/AnalysisWorker.h"
#include "structpattern/StructRows.h"

#include <utility>
#include <vector>

namespace tvx {

// Computes BuildStructRows for the newest request. The request is a snapshot taken on the
// user-interface thread (the bytes at the caret, the request's own reference to the pattern,
// the value format), so the worker touches no document and no window, and an unloaded pattern
// stays alive until the computation that uses it ends.
class StructWorker final : public AnalysisWorker<StructEvalRequest, std::vector<StructViewRow>> {
public:
    explicit StructWorker(Poster post)
        : AnalysisWorker([](const StructEvalRequest& request) { return BuildStructRows(request); }, std::move(post)) {}
};

}  // namespace tvx
