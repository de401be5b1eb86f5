// Fakes of the platform interfaces, for the tests.
