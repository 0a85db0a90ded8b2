# Front door: `make run`, `make test`, `make bench`, `make dist`.
BUILD   ?= build
NATIVE  := $(BUILD)/native
WIN     := $(BUILD)/win
BENCHB  := $(BUILD)/bench
GEN     := -G Ninja
TOOLCHAIN := $(CURDIR)/cmake/mingw-w64-x86_64.cmake

.PHONY: all setup native win run test dist soak bench clean

all: native win

setup:
	@tools/setup.sh

native: setup
	@cmake -S . -B $(NATIVE) $(GEN) -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	@cmake --build $(NATIVE)

win: setup
	@cmake -S . -B $(WIN) $(GEN) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(TOOLCHAIN) >/dev/null
	@cmake --build $(WIN)

# `make run DPI=144` runs the calendar at another system DPI.
run: win
	@MORVELIN_RUN_DPI=$(DPI) tools/run.sh $(WIN)/Morvelin.exe $(BUILD) $(WIN)/winewarm.exe

test: native win
	@printf 'subdirs("native" "win")\n' > $(BUILD)/CTestTestfile.cmake
	@ctest --test-dir $(BUILD) -j2 --output-on-failure $(CTEST_ARGS)

# The Release build's zip and per-user MSI, named after the version
# resource's file version, into dist/.
dist: win
	@rm -rf dist
	@cmake --build $(WIN) --target dist
	@ls -l dist

# The long runs at their full counts (100 000 layout passes, 10 000 font
# changes, 100 000 colour changes, a day of clock ticks, 200 cold starts as
# `make run` makes them without a display): about 25 minutes. Prints each
# run's counts before and after from the tests' log, and the cold starts'.
soak: win
	@MORVELIN_SOAK=1 ctest --test-dir $(WIN) -L reliability -E '^harness[.]cold_starts$$' --output-on-failure
	@grep -E '^(layout passes|font changes|colour changes|clock ticks|  [A-Za-z])' \
	  $(WIN)/Testing/Temporary/LastTest.log || true
	@tools/coldstarts.sh $(WIN)/Morvelin.exe 200 $(WIN)/harness-wine $(WIN)/wine

bench: setup
	@cmake -S . -B $(BENCHB) $(GEN) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(TOOLCHAIN) >/dev/null
	@cmake --build $(BENCHB)
	@tools/bench.sh $(BENCHB) $(BENCH_ARGS)

# The C++ sources by .clang-format (tests, benchmarks and tools included).
.PHONY: format
format: setup
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
