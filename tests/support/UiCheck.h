#pragma once

#include "ScriptedUiServices.h"

#include <QTest>

namespace kb::test {

// For a test's cleanup(), after its scripted users died: fails the test when one of them met a
// question without answer, a dialog nobody queued or an error box the test did not take.
inline void verifyNoUiProblems()
{
    const QStringList problems = ScriptedUiServices::takeLeftOverProblems();
    if (!problems.isEmpty())
        QFAIL(qPrintable(problems.join(QLatin1Char('\n'))));
}

} // namespace kb::test
