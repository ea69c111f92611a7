# The two everyday commands: `make run` and `make test`. Both install what is missing,
# configure and build before doing their job.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= 2
# The program folder used by `make run`: settings, recent files and the archive live there.
RUN_HOME ?= $(CURDIR)/programma

.PHONY: all deps configure build run test test-printer bench fuzz format format-check tidy clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD_DIR)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

configure: deps $(BUILD_DIR)/CMakeCache.txt

build: configure
	cmake --build $(BUILD_DIR) -j$(JOBS)

run: build
	@bash scripts/prepare-home.sh "$(RUN_HOME)" "$(BUILD_DIR)"
	cd "$(RUN_HOME)" && QUINTOR_HOME="$(RUN_HOME)" "$(CURDIR)/$(BUILD_DIR)/app/quintor"

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS) --timeout 300

# Prints through a real CUPS queue (cups-pdf) and checks the marks on the PDF it writes.
test-printer: configure
	cmake --build $(BUILD_DIR) -j$(JOBS) --target printer_check
	@bash scripts/test-printer.sh "$(BUILD_DIR)"

bench: configure
	cmake --build $(BUILD_DIR) -j$(JOBS) --target benchmarks
	@status=0; { for b in $(BUILD_DIR)/bench/bench_*; do \
	    [ -f "$$b" ] && [ -x "$$b" ] || continue; \
	    echo "== $$b"; "$$b" || status=1; \
	done; echo "@status $$status"; } | awk -f bench/summary.awk

# libFuzzer targets of the file readers (clang); FUZZ_SECONDS per target, default 60.
fuzz:
	@bash fuzz/run.sh

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

# Fails, naming the files, when a source is not as `make format` would leave it.
format-check:
	clang-format --dry-run -Werror $$(git ls-files '*.cpp' '*.h')

# clang-tidy with .clang-tidy on every source of the project (uses the build's
# compile_commands.json; the generated moc files are left out).
tidy: build
	run-clang-tidy -quiet -p $(BUILD_DIR) -j$(JOBS) \
	    $$(git ls-files '*.cpp' | grep -v '^fuzz/' | sed 's|^|$(CURDIR)/|')

clean:
	rm -rf $(BUILD_DIR)
