# Vek: `make run` runs the program, `make test` passes every test.
# Both install what they need first (Debian packages, through apt-get).
SHELL := /bin/bash
JOBS  ?= $(shell nproc)
ARGS  ?=
NATIVE := build/native
WIN    := build/win
ASAN   := build/asan
TSAN   := build/tsan
FUZZ   := build/fuzz
CMAKE_NATIVE := -DCMAKE_BUILD_TYPE=RelWithDebInfo
CMAKE_WIN    := -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake

.PHONY: all deps build native win native-tests win-tests asan tsan test test-native test-asan test-tsan test-win fuzz run dist bench clean

all: build

deps:
	@bash scripts/install-deps.sh

build: deps native win

native:
	@cmake -S . -B $(NATIVE) $(CMAKE_NATIVE) >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

win:
	@cmake -S . -B $(WIN) $(CMAKE_WIN) >/dev/null
	@cmake --build $(WIN) -j $(JOBS)

# Every test stage builds only what it runs: the test programs (target
# vek-tests, vek-cli included), and under Wine vek.exe for the window tests.
native-tests:
	@cmake -S . -B $(NATIVE) $(CMAKE_NATIVE) >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS) --target vek-tests

win-tests:
	@cmake -S . -B $(WIN) $(CMAKE_WIN) >/dev/null
	@cmake --build $(WIN) -j $(JOBS) --target vek-tests vek

asan:
	@cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DVEK_SANITIZE=address,undefined >/dev/null
	@cmake --build $(ASAN) -j $(JOBS) --target vek-tests

tsan:
	@cmake -S . -B $(TSAN) -DCMAKE_BUILD_TYPE=Debug -DVEK_SANITIZE=thread >/dev/null
	@cmake --build $(TSAN) -j $(JOBS) --target vek-cli vek-exchange-tests

test: deps
	@$(MAKE) --no-print-directory test-native test-asan test-tsan test-win fuzz
	@echo "all test stages passed"

# Every stage's tests are independent of each other: two at a time. No
# stage retries a failed test.
test-native: native-tests
	cd $(NATIVE) && ctest --output-on-failure -j 2

# Every finding ends the program with a failure (leaks included).
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=0 \
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 TSAN_OPTIONS=halt_on_error=1

# The native tests again under AddressSanitizer and UndefinedBehaviorSanitizer
# (all but the real-server end-to-end tests, which the plain build covers).
test-asan: asan
	cd $(ASAN) && $(SANITIZER_ENV) ctest --output-on-failure -j 2 -LE realserver

# The exchange and interrupt tests under ThreadSanitizer.
test-tsan: tsan
	cd $(TSAN) && $(SANITIZER_ENV) ctest --output-on-failure -j 2 -L exchange

test-win: win-tests
	cd $(WIN) && ctest --output-on-failure -j 2

# libFuzzer under AddressSanitizer and UndefinedBehaviorSanitizer, from the
# seed corpus, which reaches every entry of the target: 30 s are enough.
fuzz: deps
	@cmake -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang-14 \
	  -DCMAKE_CXX_COMPILER=clang++-14 -DVEK_SANITIZE=fuzzer-no-link,address,undefined >/dev/null
	@cmake --build $(FUZZ) -j $(JOBS) --target vek-report-fuzzer
	cd $(FUZZ) && $(SANITIZER_ENV) ctest --output-on-failure -L fuzz

run: build
	@bash scripts/run.sh $(ARGS)

dist: win
	@bash scripts/dist.sh

bench: build
	@bash bench/axfr.sh

clean:
	rm -rf build
