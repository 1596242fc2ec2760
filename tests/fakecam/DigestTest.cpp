// The simulated camera proves itself through the program's own requests (tests/camera); only its
// Digest arithmetic needs a reference of its own, since the client and the camera could agree on
// the same wrong hash.
#include "fakecam/HttpAuth.h"

#include <gtest/gtest.h>

TEST(DigestAuth, ResponseFollowsTheRfcExamples)
{
    // RFC 2617, section 3.5.
    EXPECT_EQ(fakecam::auth::digestResponse("Mufasa", "testrealm@host.com", "Circle Of Life", "GET", "/dir/index.html",
                                            "dcd98b7102dd2f0e8b11d0f600bfb0c093", "00000001", "0a4f113b", "auth"),
              "6629fae49393a05397450978507c4ef1");
    EXPECT_EQ(fakecam::auth::md5Hex("Mufasa:testrealm@host.com:Circle Of Life"), "939e7578ed9e3c518a452acee763bce9");
}
