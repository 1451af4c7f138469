#include "ui/Application.h"

#include <gtest/gtest.h>

TEST(Application, TitleIsZelvor) { EXPECT_EQ(ui::Application().Title(), L"Zelvor"); }
