// A small dialog template for the framework tests.
#pragma once

#define IDD_TEST 200
