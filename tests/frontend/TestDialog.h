// A small dialog template for the framework tests.
#pragma once

#define IDD_TEST 200
#define IDC_TEST_BUTTON 300
#define IDC_TEST_EDIT 301
