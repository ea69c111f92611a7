# The two everyday commands: `make run` and `make test`. Both install what is missing,
# configure and build before doing their job.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= 2
# The program folder used by `make run`: settings, recent files and the archive live there.
RUN_HOME ?= $(CURDIR)/programma
# Where `make install` puts the program.
PREFIX ?= /usr/local
# What the program needs to run, without the tests: the two programs (the guide comes with
# quintor), the PDF painter behind `quintor-cli print` and the example user functions.
PROGRAM_TARGETS = quintor quintor-cli quintor-print filtrosomma compressed_docs
# The Debian package is built in a folder of its own, with the hardening flags of Debian's
# packages, which the everyday build leaves off.
PACKAGE_BUILD_DIR ?= build-package

# The sanitizer and fuzz builds live in folders of their own beside the everyday one.
ASAN_BUILD_DIR ?= build-asan
FUZZ_BUILD_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_CI_SECONDS ?= 10
# Debian 12's clang tools, called by their versioned names: formatting and the checks do not
# change with whatever clang a machine has (scripts/install-deps.sh installs these).
CLANG_FORMAT = clang-format-14
CLANG_TIDY = clang-tidy-14
RUN_CLANG_TIDY = run-clang-tidy-14

# `cmake --build` runs make again below this one, which would wrap the output of every target
# in "Entering directory" and "Leaving directory" lines.
MAKEFLAGS += --no-print-directory

.PHONY: all deps configure build program run test test-kills test-printer test-asan install \
        package package-test bench fuzz fuzz-ci format format-check tidy clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD_DIR)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

configure: deps $(BUILD_DIR)/CMakeCache.txt

build: configure
	cmake --build $(BUILD_DIR) -j$(JOBS)

program: configure
	cmake --build $(BUILD_DIR) -j$(JOBS) --target $(PROGRAM_TARGETS)

run: program
	@bash scripts/prepare-home.sh "$(RUN_HOME)" "$(BUILD_DIR)"
	cd "$(RUN_HOME)" && QUINTOR_HOME="$(RUN_HOME)" "$(CURDIR)/$(BUILD_DIR)/app/quintor"

test: build
	@cd $(BUILD_DIR) && status=0; \
	QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS) --timeout 300 || status=$$?; \
	bash "$(CURDIR)/scripts/skipped-tests.sh" Testing/Temporary/LastTest.log; exit $$status

# The commands that write a system file killed at random moments, KILL_ROUNDS times each
# (`make test` runs a few), and run several at once on one file.
KILL_ROUNDS ?= 200
test-kills: build
	cd $(BUILD_DIR) && QUINTOR_KILL_ROUNDS=$(KILL_ROUNDS) tests/cli_tests \
	    --gtest_filter='KilledCommands.*:ConcurrentCommands.*'

# Prints through a real CUPS queue (cups-pdf) and checks the marks on the PDF it writes.
test-printer: configure
	@bash scripts/install-deps.sh printer
	cmake --build $(BUILD_DIR) -j$(JOBS) --target printer_check quintor-print
	@bash scripts/test-printer.sh "$(BUILD_DIR)"

install: program
	cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

# A Debian package (.deb) in $(PACKAGE_BUILD_DIR), its dependencies found by dpkg-shlibdeps.
# cpack would otherwise build every target, the tests among them, before packing the program.
package: deps
	@bash scripts/install-deps.sh package
	cmake -S . -B $(PACKAGE_BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUINTOR_HARDENING=ON \
	    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
	cmake --build $(PACKAGE_BUILD_DIR) -j$(JOBS) --target $(PROGRAM_TARGETS)
	cd $(PACKAGE_BUILD_DIR) && cpack -G DEB

# Installs the package on this machine, runs both programs from it, checks it with lintian
# and removes it again (root).
package-test: package
	bash scripts/test-package.sh $(PACKAGE_BUILD_DIR)

bench: configure
	cmake --build $(BUILD_DIR) -j$(JOBS) --target benchmarks
	@status=0; { for b in $(BUILD_DIR)/bench/bench_*; do \
	    [ -f "$$b" ] && [ -x "$$b" ] || continue; \
	    echo "== $$b"; "$$b" || status=1; \
	done; echo "@status $$status"; } | awk -f bench/summary.awk

# The whole suite, windows included, built with -fsanitize=address,undefined: any report fails.
# Built at -O1 with line tables only: much quicker to compile than the everyday build, and the
# reports still name file and line.
test-asan: deps
	@bash scripts/install-deps.sh asan
	cmake -S . -B $(ASAN_BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
	    -DQUINTOR_SANITIZE=ON
	cmake --build $(ASAN_BUILD_DIR) -j$(JOBS)
	cd $(ASAN_BUILD_DIR) && QT_QPA_PLATFORM=offscreen \
	    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizer/lsan.supp:print_suppressions=0 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    ctest --output-on-failure -j$(JOBS) --timeout 600

# libFuzzer on every reader and typed-text parser (clang), FUZZ_SECONDS per target.
fuzz:
	@bash scripts/install-deps.sh build fuzz
	cmake -S . -B $(FUZZ_BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_CXX_COMPILER=clang++ -DQUINTOR_FUZZ=ON -DQUINTOR_FUZZ_SECONDS=$(FUZZ_SECONDS)
	cmake --build $(FUZZ_BUILD_DIR) -j$(JOBS)
	cd $(FUZZ_BUILD_DIR) && ctest -L fuzz --output-on-failure -j$(JOBS)

# The short run CI does: every target for a few seconds from its seeds.
fuzz-ci:
	$(MAKE) fuzz FUZZ_SECONDS=$(FUZZ_CI_SECONDS)

format:
	@bash scripts/install-deps.sh format
	$(CLANG_FORMAT) -i $$(git ls-files '*.cpp' '*.h')

# Fails, naming the files, when a source is not as `make format` would leave it.
format-check:
	@bash scripts/install-deps.sh format
	$(CLANG_FORMAT) --dry-run -Werror $$(git ls-files '*.cpp' '*.h')

# clang-tidy with .clang-tidy on every source of the project (uses the build's
# compile_commands.json; the generated moc files are left out).
tidy: build
	@bash scripts/install-deps.sh tidy
	$(RUN_CLANG_TIDY) -quiet -clang-tidy-binary $(CLANG_TIDY) -p $(BUILD_DIR) -j$(JOBS) \
	    $$(git ls-files '*.cpp' | grep -v '^fuzz/' | sed 's|^|$(CURDIR)/|')

clean:
	rm -rf $(BUILD_DIR) $(PACKAGE_BUILD_DIR)
