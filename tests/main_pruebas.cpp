#include <gtest/gtest.h>

#include "apoyo.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    if (!apoyo::Arranca()) {
        fprintf(stderr, "cannot start SDL or load recursos/ from %s\n", getenv("PWD"));
        return 1;
    }
    const int resultado = RUN_ALL_TESTS();
    apoyo::Apaga();
    return resultado;
}
