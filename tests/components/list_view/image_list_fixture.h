// A test of the image-list library, started against the fake runtime.
#pragma once
#include <gtest/gtest.h>

#include "components/fake_runtime.h"
#include "components/list_view/image_list_commands.h"

class ImageListLibraryTest : public testing::Test {
 protected:
  void SetUp() override {
    fake::Reset();
    comp::ImageListLibraryNotify(1, fake::ServiceWord(), 0);
  }
};
