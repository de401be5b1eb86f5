// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/childruns.h"

#include "platform/linux/childwatch.h"

#include <algorithm>

QList<ChildOutcome> runEach(const QString &program, const QList<QStringList> &argumentLists,
                            const ChildRuns &runs)
{
    QList<ChildOutcome> outcomes(argumentLists.size());
    ChildProcess::Options options;
    options.input = runs.input;
    options.outputLimit = runs.outputLimit;
    ChildWatch watch;
    qsizetype next = 0;
    while (next < argumentLists.size() || watch.size() > 0) {
        for (; next < argumentLists.size() && watch.size() < std::max(1, runs.parallel); ++next)
            watch.add(quint64(next),
                      std::make_unique<ChildProcess>(program, argumentLists[next], options),
                      QDeadlineTimer(runs.timeoutMs));
        for (const ChildWatch::Ended &ended : watch.wait())
            outcomes[qsizetype(ended.id)] = ended.outcome;
    }
    return outcomes;
}
