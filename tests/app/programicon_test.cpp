// The program's icon, which every window shows: drawn by the build into the program folder.

#include "app/ProgramIcon.h"
#include "support/ProgramFolder.h"

#include <QIcon>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vidora;

TEST(ProgramIcon, ComesInEverySizeFromTheProgramFolder) {
    {
        const test::ProgramFolder built(QStringLiteral(VIDORA_PROGRAM_DIR));
        const QList<QSize> sizes = programIcon().availableSizes();
        for (int size : {16, 24, 32, 48, 64, 128, 256})
            EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
    }
    QTemporaryDir empty;
    const test::ProgramFolder without(empty.path());
    EXPECT_TRUE(programIcon().isNull());
}
